#pragma once

#include "SystemSockets.h"

#include "IpAddress.h"

namespace vigilon::test {

// A dotted IPv4 address as the echo code carries it.
inline IpAddress V4Address(const char* dotted) {
    in_addr address{};
    inet_pton(AF_INET, dotted, &address);
    return IpAddress::V4(address);
}

// An IPv6 address as the echo code carries it.
inline IpAddress V6Address(const char* text) {
    in6_addr address{};
    inet_pton(AF_INET6, text, &address);
    return IpAddress::V6(address);
}

}  // namespace vigilon::test
