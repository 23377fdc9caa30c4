#include "Icmpv6Message.h"

#include <cstring>

#include "ByteOrder.h"
#include "IcmpWire.h"
#include "Icmpv6Wire.h"
#include "SystemSockets.h"

namespace vigilon {

namespace {

std::uint32_t LoadBe32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(LoadBe16(at)) << 16 | LoadBe16(at + 2);
}

// The error's quote: an IPv6 header of ICMPv6, then the message it carried.
// Our requests carry no extension headers, so a quote with any is about
// someone else's datagram.
void ReadQuote(const std::uint8_t* message, int byteCount, ReceivedEcho& got) {
    const std::uint8_t* quotedIp = message + kIcmpHeader;
    const int messageAt = kIcmpHeader + kIpv6Header;
    if (byteCount < messageAt || (quotedIp[0] >> 4) != 6 ||
        quotedIp[ip6::kNextHeaderAt] != icmp6::kNextHeader)
        return;
    in6_addr destination{};
    std::memcpy(&destination, quotedIp + ip6::kDestinationAt, sizeof destination);
    got.kind = ReceivedEcho::Kind::Error;
    got.quoted = message + messageAt;
    got.quotedBytes = byteCount - messageAt;
    got.quotedDestination = IpAddress::V6(destination);
}

}  // namespace

EchoOutcome Icmpv6OutcomeOfType(std::uint8_t type) {
    switch (type) {
        case icmp6::kUnreachable: return EchoOutcome::Unreachable;
        case icmp6::kPacketTooBig: return EchoOutcome::PacketTooBig;
        case icmp6::kTimeExceeded: return EchoOutcome::TimeExceeded;
        case icmp6::kParameterProblem: return EchoOutcome::ParameterProblem;
        default: return EchoOutcome::OtherMessage;
    }
}

ReceivedEcho ReadIcmpv6Message(const std::uint8_t* message, int byteCount,
                               const IpAddress& source) {
    ReceivedEcho got;
    got.source = source;
    if (byteCount < kIcmpHeader) return got;
    got.headerBytes = kIpv6Header;
    got.message = message;
    got.messageBytes = byteCount;
    const std::uint8_t type = message[0];
    got.icmpType = type;
    got.icmpCode = message[1];
    if (type == icmp6::kEchoReply) {
        got.kind = ReceivedEcho::Kind::Reply;
        return got;
    }
    got.kind = ReceivedEcho::Kind::Other;
    got.outcome = Icmpv6OutcomeOfType(type);
    if (got.outcome == EchoOutcome::OtherMessage) return got;
    // The MTU of a packet too big and the pointer of a parameter problem
    // fill the four bytes; the other errors leave them unused.
    if (type == icmp6::kPacketTooBig || type == icmp6::kParameterProblem)
        got.icmpInfo = LoadBe32(message + 4);
    ReadQuote(message, byteCount, got);
    return got;
}

}  // namespace vigilon
