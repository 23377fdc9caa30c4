// How the probe reads one received datagram by its own identifier, down to
// the texts of what is not its answer.

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "IcmpWire.h"
#include "Ipv4Datagram.h"
#include "MonotonicClock.h"
#include "ProbeText.h"

namespace vigilon {

std::string CEchoProbe::DecodeReply(const std::uint8_t* buffer, int byteCount,
                                    const sockaddr_in& source) const {
    return ProbeText(DecodeResult(buffer, byteCount, source), {});
}

EchoResult CEchoProbe::DecodeResult(const std::uint8_t* buffer, int byteCount,
                                    const sockaddr_in& source) const {
    EchoResult result;
    result.source = IpAddress::V4(source.sin_addr);
    const int ipHeader = byteCount > 0 ? (buffer[0] & 0x0F) * 4 : 0;
    if (byteCount < ipHeader + kIcmpHeader) {
        result.outcome = EchoOutcome::TooShort;
        return result;
    }
    result.ipHeaderBytes = ipHeader;
    result.messageBytes = byteCount - ipHeader;
    if (ipHeader > 8) result.ttl = buffer[8];
    const std::uint8_t* icmp = buffer + ipHeader;
    result.icmpType = icmp[0];
    result.icmpCode = icmp[1];
    if (icmp[0] != icmp4::kEchoReply) {
        result.outcome = OutcomeOfType(icmp[0]);
        return result;
    }
    if (LoadLe16(icmp + 4) != identifier) {
        result.outcome = EchoOutcome::ForeignReply;
        return result;
    }
    result.outcome = EchoOutcome::Reply;
    result.sequence = LoadLe16(icmp + 6);
    // A reply cut short after the sequence has no timestamp to measure by.
    if (byteCount >= ipHeader + kHeaderSize)
        result.roundTripUs =
            std::int64_t{static_cast<std::int32_t>(MonotonicMs() - LoadLe32(icmp + 8))} * 1000;
    return result;
}

}  // namespace vigilon
