#pragma once

#include <string>

#include "IpAddress.h"
#include "MonitorPorts.h"

namespace vigilon {

// Forward and reverse lookups of IPv4 and IPv6 addresses through the system
// resolver. A failure is only the text "Can't resolve " followed by the text
// passed. Each gives up after 10 s, when the resolver has not answered by
// then.

// The first address of host, in the resolver's order: dotted for IPv4, the
// shortest text for IPv6.
LookupOutcome LookupAddress(const std::string& host);
// The name registered for an address of either family. Text that is no
// IPv6 address is read as IPv4 by the classic parser, which yields
// 255.255.255.255 for what it cannot read.
LookupOutcome LookupName(const std::string& address);

// The first address the resolver lists for host; false when it has none.
bool ResolveFirstAddress(const std::string& host, IpAddress& address);

}  // namespace vigilon
