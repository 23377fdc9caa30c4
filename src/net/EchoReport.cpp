#include "EchoReport.h"

#include <linux/icmp.h>

#include <algorithm>
#include <cstring>

namespace vigilon {

namespace {
constexpr int kIcmpHeader = 8;
constexpr int kMinimalIpHeader = 20;
}  // namespace

EchoOutcome OutcomeOfType(std::uint8_t type) {
    switch (type) {
        case ICMP_DEST_UNREACH: return EchoOutcome::Unreachable;
        case ICMP_SOURCE_QUENCH: return EchoOutcome::SourceQuench;
        case ICMP_REDIRECT: return EchoOutcome::Redirect;
        case ICMP_TIME_EXCEEDED: return EchoOutcome::TimeExceeded;
        case ICMP_PARAMETERPROB: return EchoOutcome::ParameterProblem;
        default: return EchoOutcome::OtherMessage;
    }
}

std::optional<QuotedMessage> QuotedIcmp(const std::uint8_t* datagram, int byteCount) {
    if (byteCount < 1) return std::nullopt;
    const int ipHeader = (datagram[0] & 0x0F) * 4;
    if (ipHeader < kMinimalIpHeader || byteCount < ipHeader + kIcmpHeader + kMinimalIpHeader)
        return std::nullopt;
    if (OutcomeOfType(datagram[ipHeader]) == EchoOutcome::OtherMessage) return std::nullopt;
    const std::uint8_t* quoted = datagram + ipHeader + kIcmpHeader;
    const int quotedHeader = (quoted[0] & 0x0F) * 4;
    const int quotedAt = ipHeader + kIcmpHeader + quotedHeader;
    if ((quoted[0] >> 4) != 4 || quotedHeader < kMinimalIpHeader || byteCount < quotedAt ||
        quoted[9] != IPPROTO_ICMP)
        return std::nullopt;
    QuotedMessage found{datagram + quotedAt, byteCount - quotedAt, {}};
    std::memcpy(&found.destination, quoted + 16, 4);
    return found;
}

bool IsErrorAbout(const SentEcho& request, const std::uint8_t* datagram, int byteCount) {
    const std::optional<QuotedMessage> quoted = QuotedIcmp(datagram, byteCount);
    if (!quoted || quoted->destination.s_addr != request.destination.s_addr) return false;
    if (quoted->length < kIcmpHeader || request.length < kIcmpHeader) return false;
    const int compared = std::min(quoted->length, request.length);
    return std::memcmp(quoted->message, request.message, compared) == 0;
}

void ReadErrorDetails(const std::uint8_t* datagram, int byteCount, EchoResult& result) {
    if (byteCount < 1) return;  // not even the header's length to read
    const int ipHeader = (datagram[0] & 0x0F) * 4;
    if (byteCount < ipHeader + kIcmpHeader) return;
    const std::uint8_t* icmp = datagram + ipHeader;
    result.outcome = OutcomeOfType(icmp[0]);
    result.icmpType = icmp[0];
    result.icmpCode = icmp[1];
    if (icmp[0] == ICMP_DEST_UNREACH && icmp[1] == ICMP_FRAG_NEEDED)
        result.icmpInfo = static_cast<std::uint32_t>(icmp[6] << 8 | icmp[7]);
    else if (icmp[0] == ICMP_PARAMETERPROB)
        result.icmpInfo = icmp[4];
    else if (icmp[0] == ICMP_REDIRECT)
        std::memcpy(&result.icmpInfo, icmp + 4, 4);
}

}  // namespace vigilon
