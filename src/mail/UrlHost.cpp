#include "UrlHost.h"

#include <algorithm>

#include "SystemSockets.h"

namespace vigilon {

namespace {

bool IsNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_' || c >= 0x80;
}

// The byte as a person reads it in an error text, which must not carry a
// control byte into a log line or a window.
std::string Described(unsigned char c) {
    if (c == ' ') return "a space";
    if (c < 0x20 || c == 0x7F) return "a control character";
    return std::string("'") + static_cast<char>(c) + "'";
}

bool IsIpv6Address(const std::string& text) {
    in6_addr address{};
    return ::inet_pton(AF_INET6, text.c_str(), &address) == 1;
}

}  // namespace

std::string UrlHostProblem(std::string_view host) {
    if (host.empty()) return "the host is missing";
    if (host.find(':') != std::string_view::npos)
        return IsIpv6Address(std::string(host)) ? ""
                                                : "the host in brackets is not an IPv6 address";
    const auto bad = std::find_if_not(
        host.begin(), host.end(), [](char c) { return IsNameByte(static_cast<unsigned char>(c)); });
    if (bad == host.end()) return {};
    return "the host may hold only letters, digits, '.', '-' and '_', not " +
           Described(static_cast<unsigned char>(*bad));
}

std::string UrlHostText(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace vigilon
