#pragma once

#include <netinet/in.h>

#include <string>

#include "MonitorPorts.h"

namespace vigilon {

// Forward and reverse IPv4 lookups through the system resolver. A failure is
// only the text "Can't resolve " followed by the text passed. Each gives up
// after 10 s, when the resolver has not answered by then.

// The first IPv4 address of host, dotted.
LookupOutcome LookupAddress(const std::string& host);
// The name registered for a dotted address. Unparsable text is looked up as
// 255.255.255.255, which is what the classic address parser yields for it.
LookupOutcome LookupName(const std::string& address);

// The first IPv4 address the resolver lists for host; false when it has none.
bool ResolveFirstAddress(const std::string& host, in_addr& address);

}  // namespace vigilon
