#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "SystemSockets.h"

namespace vigilon {

enum class IpFamily : std::uint8_t { V4, V6 };

// An IPv4 or IPv6 address by value: where an echo request goes and where
// what answers it comes from. Trivially copyable, as results that carry one
// are spooled the way they are in memory.
class IpAddress {
public:
    IpAddress() = default;  // 0.0.0.0
    static IpAddress V4(in_addr address);
    static IpAddress V6(const in6_addr& address);

    IpFamily Family() const { return family; }
    // Meaningful for an IPv4 address only.
    in_addr ToV4() const;
    // Meaningful for an IPv6 address only.
    in6_addr ToV6() const;
    // The dotted quad of IPv4, the shortest text of IPv6 (RFC 5952).
    std::string Text() const;

    friend bool operator==(const IpAddress&, const IpAddress&) = default;

private:
    IpFamily family = IpFamily::V4;
    std::array<std::uint8_t, 16> bytes{};  // network byte order; IPv4 in the first four
};

// "192.0.2.7": the one place an IPv4 address is turned into text.
std::string Dotted(in_addr address);

}  // namespace vigilon
