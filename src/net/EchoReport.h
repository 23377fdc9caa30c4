#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <optional>

#include "EchoAnswer.h"
#include "EchoResult.h"

namespace vigilon {

// What an ICMP message of this type says about the request it quotes; an
// echo reply or any type that is no error report gives OtherMessage.
EchoOutcome OutcomeOfType(std::uint8_t type);

// The part of a datagram that an ICMP error quotes: the message of the
// datagram that caused it, as far as quoted, and where that one went.
struct QuotedMessage {
    const std::uint8_t* message;
    int length;
    in_addr destination;
};

// The quoted ICMP message of a received ICMP error (IP header first); none
// when the datagram is no error report or quotes no ICMP message.
std::optional<QuotedMessage> QuotedIcmp(const std::uint8_t* datagram, int byteCount);

// Whether a received datagram is an ICMP error about the request: it quotes
// a datagram to the request's destination whose message starts with the
// request's bytes, at least the eight that carry type, checksum, identifier
// and sequence, and all of those quoted beyond them.
bool IsErrorAbout(const SentEcho& request, const std::uint8_t* datagram, int byteCount);

// Type, code and what the error adds (next-hop MTU, pointer, gateway) into
// result, with the outcome they make.
void ReadErrorDetails(const std::uint8_t* datagram, int byteCount, EchoResult& result);

}  // namespace vigilon
