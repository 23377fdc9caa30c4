#include "BoundedLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include "IpAddress.h"
#include "LookupSharing.h"

namespace vigilon {

namespace {

// Never destroyed: a caller may still be waiting in it while the program
// ends, on a thread of its own.
LookupSharing& Lookups() {
    static auto* lookups = new LookupSharing;
    return *lookups;
}

std::vector<in_addr> AddressesOf(const std::string& host, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address instead of one per socket type
    hints.ai_flags = flags;
    addrinfo* list = nullptr;
    std::vector<in_addr> addresses;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) return addresses;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in))
            addresses.push_back(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr);
    }
    ::freeaddrinfo(list);
    return addresses;
}

std::string NameOf(in_addr address) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr = address;
    char name[NI_MAXHOST];
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&peer), sizeof peer, name, sizeof name,
                      nullptr, 0, NI_NAMEREQD) != 0)
        return {};
    return name;
}

}  // namespace

std::vector<in_addr> ResolveAddresses(const std::string& host, LookupClock::time_point deadline) {
    if (host.empty()) return {};  // nothing a resolver could answer
    std::vector<in_addr> numeric = AddressesOf(host, AI_NUMERICHOST);
    if (!numeric.empty()) return numeric;
    const auto resolve = [host] { return LookupAnswer{AddressesOf(host, 0), {}}; };
    return Lookups().Await("forward " + host, resolve, deadline).addresses;
}

std::string ResolveName(in_addr address, LookupClock::time_point deadline) {
    const auto resolve = [address] { return LookupAnswer{{}, NameOf(address)}; };
    return Lookups().Await("reverse " + Dotted(address), resolve, deadline).name;
}

}  // namespace vigilon
