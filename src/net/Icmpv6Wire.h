#pragma once

#include <cstdint>

namespace vigilon {

// ICMPv6 (RFC 4443) as the echo code reads and writes it. The message's
// first eight bytes are laid out as ICMP's (kIcmpHeader).

// The fixed IPv6 header, which IPv6 sockets never hand over but which an
// error quotes in front of the message it is about.
inline constexpr int kIpv6Header = 40;

namespace icmp6 {
inline constexpr std::uint8_t kUnreachable = 1;
inline constexpr std::uint8_t kPacketTooBig = 2;
inline constexpr std::uint8_t kTimeExceeded = 3;
inline constexpr std::uint8_t kParameterProblem = 4;
inline constexpr std::uint8_t kEchoRequest = 128;
inline constexpr std::uint8_t kEchoReply = 129;
// The next-header value of ICMPv6 in an IPv6 header.
inline constexpr std::uint8_t kNextHeader = 58;
}  // namespace icmp6

// Where an IPv6 header keeps its fields.
namespace ip6 {
inline constexpr int kPayloadLengthAt = 4;
inline constexpr int kNextHeaderAt = 6;
inline constexpr int kHopLimitAt = 7;
inline constexpr int kSourceAt = 8;
inline constexpr int kDestinationAt = 24;
}  // namespace ip6

}  // namespace vigilon
