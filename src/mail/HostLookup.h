#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "SystemSockets.h"

namespace vigilon {

// One address of a server as connect takes it, IPv4 or IPv6.
struct ServerAddress {
    sockaddr_storage socket{};
    socklen_t length = 0;

    int Family() const { return socket.ss_family; }
};

// The addresses of host (a name, a dotted IPv4 or an IPv6 address) with port
// filled in, in the resolver's order (RFC 6724, both families); empty when
// it has none or when the answer has not come by deadline. An address
// written out needs no resolver and comes back at once. A name is looked up
// on a helper thread (see BoundedLookup.h), so an unreachable name server
// holds the caller only until deadline; the abandoned lookup finishes and
// frees itself in the background.
std::vector<ServerAddress> LookupServerAddresses(const std::string& host, int port,
                                                 std::chrono::steady_clock::time_point deadline);

}  // namespace vigilon
