#pragma once

#include <netinet/in.h>

#include <chrono>
#include <string>
#include <vector>

namespace vigilon {

// The IPv4 addresses of host (a name or a dotted address) with port filled
// in, in the resolver's order; empty when it has none or when the answer has
// not come by deadline. A dotted address needs no resolver and comes back at
// once. A name is looked up on a helper thread (see BoundedLookup.h), so an
// unreachable name server holds the caller only until deadline; the
// abandoned lookup finishes and frees itself in the background.
std::vector<sockaddr_in> LookupIPv4(const std::string& host, int port,
                                    std::chrono::steady_clock::time_point deadline);

}  // namespace vigilon
