#include "Ipv4Datagram.h"

#include <cstring>

#include "IcmpWire.h"
#include "SystemSockets.h"

namespace vigilon {

namespace {

constexpr int kProtocolAt = 9;
constexpr int kDestinationAt = 16;

int HeaderLength(const std::uint8_t* ipHeader) { return (ipHeader[0] & 0x0F) * 4; }

// The error's quote: an IPv4 header of ICMP, then the message it carried.
void ReadQuote(const std::uint8_t* datagram, int byteCount, ReceivedEcho& got) {
    const int quotedAt = got.headerBytes + kIcmpHeader;
    if (byteCount < quotedAt + kIpv4Header) return;
    const std::uint8_t* quotedIp = datagram + quotedAt;
    const int quotedHeader = HeaderLength(quotedIp);
    const int messageAt = quotedAt + quotedHeader;
    if ((quotedIp[0] >> 4) != 4 || quotedHeader < kIpv4Header || byteCount < messageAt ||
        quotedIp[kProtocolAt] != IPPROTO_ICMP)
        return;
    in_addr destination{};
    std::memcpy(&destination, quotedIp + kDestinationAt, sizeof destination);
    got.kind = ReceivedEcho::Kind::Error;
    got.quoted = datagram + messageAt;
    got.quotedBytes = byteCount - messageAt;
    got.quotedDestination = IpAddress::V4(destination);
}

void ReadErrorDetails(const std::uint8_t* icmp, ReceivedEcho& got) {
    got.outcome = OutcomeOfType(icmp[0]);
    got.icmpType = icmp[0];
    got.icmpCode = icmp[1];
    if (icmp[0] == icmp4::kUnreachable && icmp[1] == icmp4::kFragmentationNeeded)
        got.icmpInfo = static_cast<std::uint32_t>(icmp[6] << 8 | icmp[7]);
    else if (icmp[0] == icmp4::kParameterProblem)
        got.icmpInfo = icmp[4];
    else if (icmp[0] == icmp4::kRedirect)
        std::memcpy(&got.icmpInfo, icmp + 4, 4);
}

}  // namespace

EchoOutcome OutcomeOfType(std::uint8_t type) {
    switch (type) {
        case icmp4::kUnreachable: return EchoOutcome::Unreachable;
        case icmp4::kSourceQuench: return EchoOutcome::SourceQuench;
        case icmp4::kRedirect: return EchoOutcome::Redirect;
        case icmp4::kTimeExceeded: return EchoOutcome::TimeExceeded;
        case icmp4::kParameterProblem: return EchoOutcome::ParameterProblem;
        default: return EchoOutcome::OtherMessage;
    }
}

ReceivedEcho ReadIpv4Datagram(const std::uint8_t* datagram, int byteCount,
                              const IpAddress& source) {
    ReceivedEcho got;
    got.source = source;
    if (byteCount < 1) return got;
    const int header = HeaderLength(datagram);
    if (header < kIpv4Header || byteCount < header + kIcmpHeader) return got;
    got.headerBytes = header;
    got.message = datagram + header;
    got.messageBytes = byteCount - header;
    const std::uint8_t type = got.message[0];
    got.icmpType = type;
    got.icmpCode = got.message[1];
    if (type == icmp4::kEchoReply) {
        got.kind = ReceivedEcho::Kind::Reply;
        return got;
    }
    got.kind = ReceivedEcho::Kind::Other;
    if (OutcomeOfType(type) == EchoOutcome::OtherMessage) return got;
    ReadErrorDetails(got.message, got);
    ReadQuote(datagram, byteCount, got);
    return got;
}

}  // namespace vigilon
