#pragma once

#include <cstdint>

#include "EchoResult.h"
#include "IpAddress.h"
#include "ReceivedEcho.h"

namespace vigilon {

// What an ICMPv6 message of this type says about the request it quotes; an
// echo reply or any informational type gives OtherMessage.
EchoOutcome Icmpv6OutcomeOfType(std::uint8_t type);

// Reads an ICMPv6 message as an IPv6 socket gives it, without the IP
// header, from source. An error is an Error only when it quotes an IPv6
// header whose next header is ICMPv6; its type, code and what it adds
// (MTU, pointer) are read with it. headerBytes counts the fixed IPv6 header
// that carried the message.
ReceivedEcho ReadIcmpv6Message(const std::uint8_t* message, int byteCount, const IpAddress& source);

}  // namespace vigilon
