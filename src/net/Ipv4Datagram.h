#pragma once

#include <cstdint>

#include "EchoResult.h"
#include "IpAddress.h"
#include "ReceivedEcho.h"

namespace vigilon {

// What an ICMP message of this type says about the request it quotes; an
// echo reply or any type that is no error report gives OtherMessage.
EchoOutcome OutcomeOfType(std::uint8_t type);

// Reads an IPv4 datagram as a raw ICMP socket gives it, IP header first,
// from source. An error report is an Error only when it quotes an IPv4
// datagram that carried ICMP; its type, code and what it adds (next-hop
// MTU, pointer, gateway) are read with it.
ReceivedEcho ReadIpv4Datagram(const std::uint8_t* datagram, int byteCount, const IpAddress& source);

}  // namespace vigilon
