#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "IpAddress.h"

namespace vigilon {

// Forward and reverse lookups of IPv4 and IPv6 addresses through the system
// resolver that give up at a deadline: the resolver runs on a helper thread,
// and a lookup of the same name and kind still running from an earlier call
// is waited for instead of starting another.

using LookupClock = std::chrono::steady_clock;

// The addresses of host of either family in the resolver's order, which
// sorts them by RFC 6724 as ping takes them; empty when it has none or has
// not answered by deadline. An address written out comes back at once
// without asking the resolver.
std::vector<IpAddress> ResolveAddresses(const std::string& host, LookupClock::time_point deadline);

// The name registered for address; empty when there is none or the resolver
// has not answered by deadline.
std::string ResolveName(const IpAddress& address, LookupClock::time_point deadline);

}  // namespace vigilon
