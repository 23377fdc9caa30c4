#pragma once

#include <string>
#include <string_view>

namespace vigilon {

// What may stand as the host of a server URL. A name or IPv4 address holds
// letters, digits, '.', '-' and '_', and bytes past ASCII, since libcurl
// turns an internationalised name into its ASCII form; an IPv6 address is
// kept without the brackets the URL writes it in. Anything else ('#', '?',
// '/', '@', spaces, control bytes, a '%') would change what the URL means,
// and cannot be escaped there: libcurl takes no escapes in a host.

// Why host cannot be a URL's host, as the part of a sentence after
// "Invalid server address: "; empty when it can.
std::string UrlHostProblem(std::string_view host);

// host as a URL writes it: an IPv6 address in brackets.
std::string UrlHostText(const std::string& host);

}  // namespace vigilon
