#include "NameLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace vigilon {

namespace {
const std::string kCantResolve = "Can't resolve ";
}

bool ResolveFirstAddress(const std::string& host, in_addr& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_RAW;  // one entry per address instead of one per socket type
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr) return false;
    address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr;
    freeaddrinfo(list);
    return true;
}

LookupOutcome LookupAddress(const std::string& host) {
    in_addr address{};
    if (!ResolveFirstAddress(host, address)) return {false, kCantResolve + host};
    char dotted[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, dotted, sizeof dotted);
    return {true, dotted};
}

LookupOutcome LookupName(const std::string& address) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = inet_addr(address.c_str());  // INADDR_NONE for unparsable text
    char name[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&peer), sizeof peer, name, sizeof name,
                    nullptr, 0, NI_NAMEREQD) != 0)
        return {false, kCantResolve + address};
    return {true, name};
}

}  // namespace vigilon
