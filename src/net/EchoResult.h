#pragma once

#include <cstdint>

#include "IpAddress.h"

namespace vigilon {

// What became of one echo request.
enum class EchoOutcome {
    Reply,             // the echo answer to the request
    TimedOut,          // nothing answered within the wait
    Unreachable,       // destination unreachable (type 3, ICMPv6 1); code says why
    SourceQuench,      // type 4
    Redirect,          // type 5; info holds the gateway, network byte order
    TimeExceeded,      // type 11 (ICMPv6 3): code 0 in transit, 1 in reassembly
    ParameterProblem,  // type 12 (ICMPv6 4); info holds the pointer
    PacketTooBig,      // ICMPv6 type 2; info holds the next hop's MTU
    OtherMessage,      // a message of another type, not about the request
    ForeignReply,      // an echo reply to another identifier
    TooShort,          // a datagram too short to read
    LocalError,        // the exchange failed here: step and errno say where and why
};

// Where a local failure happened.
enum class LocalStep { OpenSocket, SetSendTimeout, Resolve, Allocate, Send, Receive };

// One exchange, structured. Which fields mean something depends on the
// outcome; the rest keep their defaults.
struct EchoResult {
    EchoOutcome outcome = EchoOutcome::TimedOut;
    std::uint16_t sequence = 0;
    std::int64_t sentAtUs = 0;     // monotonic clock, just before the send
    std::int64_t roundTripUs = 0;  // reply: from the send to the arrival
    int ttl = -1;                  // of the datagram received; -1 when unknown
    int ipHeaderBytes = 0;         // in front of the ICMP message
    int messageBytes = 0;          // the ICMP message
    IpAddress source;              // who sent the reply or the error
    std::uint8_t icmpType = 0;
    std::uint8_t icmpCode = 0;
    std::uint32_t icmpInfo = 0;  // next-hop MTU, pointer or gateway
    LocalStep step = LocalStep::OpenSocket;
    int error = 0;  // errno of a local failure
};

// The ICMP message types a router or the host sends back about a request.
inline constexpr bool IsIcmpError(EchoOutcome outcome) {
    return outcome == EchoOutcome::Unreachable || outcome == EchoOutcome::SourceQuench ||
           outcome == EchoOutcome::Redirect || outcome == EchoOutcome::TimeExceeded ||
           outcome == EchoOutcome::ParameterProblem || outcome == EchoOutcome::PacketTooBig;
}

}  // namespace vigilon
