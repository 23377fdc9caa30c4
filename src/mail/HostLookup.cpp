#include "HostLookup.h"

#include <arpa/inet.h>

#include <cstdint>

#include "BoundedLookup.h"

namespace vigilon {

std::vector<sockaddr_in> LookupIPv4(const std::string& host, int port,
                                    std::chrono::steady_clock::time_point deadline) {
    std::vector<sockaddr_in> addresses;
    for (const IpAddress& found : ResolveAddresses(host, deadline)) {
        if (found.Family() != IpFamily::V4) continue;  // the client speaks IPv4 alone
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr = found.ToV4();
        addresses.push_back(address);
    }
    return addresses;
}

}  // namespace vigilon
