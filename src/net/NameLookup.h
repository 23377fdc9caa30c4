#pragma once

#include <netinet/in.h>

#include <string>

namespace vigilon {

// Forward and reverse IPv4 lookups through the system resolver. A failure is
// only the text "Can't resolve " followed by the text passed. Each gives up
// after 10 s, when the resolver has not answered by then.

// The first IPv4 address of host, dotted.
std::string LookupAddress(const std::string& host);
// The name registered for a dotted address. Unparsable text is looked up as
// 255.255.255.255, which is what the classic address parser yields for it.
std::string LookupName(const std::string& address);

// The first IPv4 address the resolver lists for host; false when it has none.
bool ResolveFirstAddress(const std::string& host, in_addr& address);

}  // namespace vigilon
