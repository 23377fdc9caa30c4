#pragma once

#include <cstdint>

#include "EchoResult.h"
#include "IpAddress.h"

namespace vigilon {

// One message an echo socket took in, read into what the echo rules look
// at, whatever the address family. The pointers lead into the buffer it was
// read into.
struct ReceivedEcho {
    enum class Kind {
        Nothing,  // no message for the echo rules (a local error report, a runt)
        Reply,    // an echo reply
        Error,    // an ICMP error that quotes an ICMP message
        Other,    // any other message
    };
    Kind kind = Kind::Nothing;
    IpAddress source;
    int ttl = -1;                   // -1 when the socket did not tell
    std::int64_t receivedAtUs = 0;  // monotonic clock, when the kernel took it in
    // The system's own measure of the round trip, where it gives that
    // instead of an arrival time (Windows, in whole milliseconds); else -1.
    std::int64_t roundTripUs = -1;
    // The IP header in front of the message; for IPv6 its fixed 40 bytes,
    // which the socket does not hand over.
    int headerBytes = 0;
    const std::uint8_t* message = nullptr;  // the ICMP message, from its type byte
    int messageBytes = 0;

    // An error: the message it quotes, as far as quoted, where the quoted
    // datagram went, and what the error says.
    const std::uint8_t* quoted = nullptr;
    int quotedBytes = 0;
    IpAddress quotedDestination;
    EchoOutcome outcome = EchoOutcome::OtherMessage;
    std::uint8_t icmpType = 0;
    std::uint8_t icmpCode = 0;
    std::uint32_t icmpInfo = 0;  // next-hop MTU, pointer or gateway
};

}  // namespace vigilon
