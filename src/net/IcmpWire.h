#pragma once

#include <cstdint>

namespace vigilon {

// ICMP for IPv4 (RFC 792) as the echo code reads and writes it.

// Type, code and checksum, then four bytes whose meaning depends on the type:
// identifier and sequence for echo messages.
inline constexpr int kIcmpHeader = 8;
// An IPv4 header without options.
inline constexpr int kIpv4Header = 20;

namespace icmp4 {
inline constexpr std::uint8_t kEchoReply = 0;
inline constexpr std::uint8_t kUnreachable = 3;
inline constexpr std::uint8_t kSourceQuench = 4;
inline constexpr std::uint8_t kRedirect = 5;
inline constexpr std::uint8_t kEchoRequest = 8;
inline constexpr std::uint8_t kTimeExceeded = 11;
inline constexpr std::uint8_t kParameterProblem = 12;
// The unreachable code that carries the next hop's MTU.
inline constexpr std::uint8_t kFragmentationNeeded = 4;
}  // namespace icmp4

// Internet checksum (RFC 1071) of little-endian word pairs; store it low
// byte first. Summing in either byte order gives the same bytes.
std::uint16_t IcmpChecksum(const std::uint8_t* bytes, int length);

}  // namespace vigilon
