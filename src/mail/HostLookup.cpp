#include "HostLookup.h"

#include <cstdint>

#include "BoundedLookup.h"

namespace vigilon {

namespace {

ServerAddress WithPort(const IpAddress& found, std::uint16_t port) {
    ServerAddress address;
    if (found.Family() == IpFamily::V4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address.socket);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        v4->sin_addr = found.ToV4();
        address.length = sizeof *v4;
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.socket);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        v6->sin6_addr = found.ToV6();
        address.length = sizeof *v6;
    }
    return address;
}

}  // namespace

std::vector<ServerAddress> LookupServerAddresses(const std::string& host, int port,
                                                 std::chrono::steady_clock::time_point deadline) {
    std::vector<ServerAddress> addresses;
    for (const IpAddress& found : ResolveAddresses(host, deadline))
        addresses.push_back(WithPort(found, static_cast<std::uint16_t>(port)));
    return addresses;
}

}  // namespace vigilon
