#include "BoundedLookup.h"

#include "LookupSharing.h"
#include "NetworkStart.h"
#include "SystemSockets.h"

namespace vigilon {

namespace {

// Never destroyed: a caller may still be waiting in it while the program
// ends, on a thread of its own.
LookupSharing& Lookups() {
    static auto* lookups = new LookupSharing;
    return *lookups;
}

// Both families: the resolver sorts what it found by RFC 6724, and with no
// address of the family to send from, those of the other come first.
std::vector<IpAddress> AddressesOf(const std::string& host, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address instead of one per socket type
    hints.ai_flags = flags;
    addrinfo* list = nullptr;
    std::vector<IpAddress> addresses;
    if (StartNetwork() != 0) return addresses;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) return addresses;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in))
            addresses.push_back(
                IpAddress::V4(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr));
        else if (entry->ai_family == AF_INET6 && entry->ai_addrlen >= sizeof(sockaddr_in6))
            addresses.push_back(
                IpAddress::V6(reinterpret_cast<const sockaddr_in6*>(entry->ai_addr)->sin6_addr));
    }
    ::freeaddrinfo(list);
    return addresses;
}

std::string NameOf(const IpAddress& address) {
    sockaddr_storage peer{};
    socklen_t length = 0;
    if (address.Family() == IpFamily::V4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&peer);
        v4->sin_family = AF_INET;
        v4->sin_addr = address.ToV4();
        length = sizeof *v4;
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&peer);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = address.ToV6();
        length = sizeof *v6;
    }
    char name[NI_MAXHOST];
    if (StartNetwork() != 0) return {};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&peer), length, name, sizeof name, nullptr,
                      0, NI_NAMEREQD) != 0)
        return {};
    return name;
}

}  // namespace

std::vector<IpAddress> ResolveAddresses(const std::string& host, LookupClock::time_point deadline) {
    if (host.empty()) return {};  // nothing a resolver could answer
    std::vector<IpAddress> numeric = AddressesOf(host, AI_NUMERICHOST);
    if (!numeric.empty()) return numeric;
    const auto resolve = [host] { return LookupAnswer{AddressesOf(host, 0), {}}; };
    return Lookups().Await("forward " + host, resolve, deadline).addresses;
}

std::string ResolveName(const IpAddress& address, LookupClock::time_point deadline) {
    const auto resolve = [address] { return LookupAnswer{{}, NameOf(address)}; };
    return Lookups().Await("reverse " + address.Text(), resolve, deadline).name;
}

}  // namespace vigilon
