#pragma once

#include <cstdint>
#include <vector>

namespace vigilon {

// How a request carries its numbers and what its data says. Either way the
// data starts with the send time, which no one who has not seen the request
// can guess, and a reply must give back every byte.
enum class EchoLayout {
    // The monitor's probe, as it has always sent: identifier and sequence
    // low byte first; the send time in milliseconds (32 bits, low byte
    // first), then the letter 'E'.
    LowByteFirst,
    // As terminal pings send: identifier and sequence in network byte
    // order; the send time in microseconds (64 bits, network byte order) as
    // far as it fits, then bytes that count up.
    NetworkOrder,
};

// Identifier and sequence as the layout stores and reads them.
void StoreEchoField(EchoLayout layout, std::uint8_t* at, std::uint16_t value);
std::uint16_t LoadEchoField(EchoLayout layout, const std::uint8_t* at);

// The identifier that the layout stores as the bytes of networkValue in
// network byte order: the datagram socket's own, which the kernel writes
// over whatever the request carried.
std::uint16_t IdentifierStoredAs(EchoLayout layout, std::uint16_t networkValue);

// A complete echo request: the family's request type (8 for IPv4), code 0,
// identifier, sequence, dataBytes of data stamped with the monotonic time
// nowUs, checksum last.
std::vector<std::uint8_t> BuildEchoRequest(EchoLayout layout, std::uint8_t type,
                                           std::uint16_t identifier, std::uint16_t sequence,
                                           int dataBytes, std::int64_t nowUs);

}  // namespace vigilon
