#pragma once

#include <cstdint>

#include "IpAddress.h"
#include "ReceivedEcho.h"

namespace vigilon {

// One echo request as it went on the wire, and where it went.
struct SentEcho {
    const std::uint8_t* message;  // the ICMP message, from its type byte
    int length;
    IpAddress destination;
};

// Whether a received message answers the request: an echo reply from the
// address pinged that gives back identifier, sequence, timestamp and data
// unchanged and nothing more. A late answer to an earlier request, a reply
// sent on the host's behalf from elsewhere or one made up without seeing
// the request is not an answer.
bool IsAnswerTo(const SentEcho& request, const ReceivedEcho& got);

// Whether a received message is an ICMP error about the request: it quotes
// a datagram to the request's destination whose message starts with the
// request's bytes, at least the eight that carry type, checksum, identifier
// and sequence, and all of those quoted beyond them. An ICMPv6 checksum
// also sums the addresses, and the system fills it in: it is the one field
// not compared.
bool IsErrorAbout(const SentEcho& request, const ReceivedEcho& got);

}  // namespace vigilon
