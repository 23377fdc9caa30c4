#pragma once

#include <netinet/in.h>

#include <chrono>
#include <string>
#include <vector>

namespace vigilon {

// Forward and reverse IPv4 lookups through the system resolver that give up
// at a deadline: the resolver runs on a helper thread, and a lookup of the
// same name and kind still running from an earlier call is waited for
// instead of starting another.

using LookupClock = std::chrono::steady_clock;

// The IPv4 addresses of host in the resolver's order; empty when it has none
// or has not answered by deadline. A dotted address comes back at once
// without asking the resolver.
std::vector<in_addr> ResolveAddresses(const std::string& host, LookupClock::time_point deadline);

// The name registered for address; empty when there is none or the resolver
// has not answered by deadline.
std::string ResolveName(in_addr address, LookupClock::time_point deadline);

}  // namespace vigilon
