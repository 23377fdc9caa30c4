// The echo message on the wire: building a request and reading a reply.

#include <cstring>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoReport.h"
#include "MonotonicClock.h"
#include "ProbeText.h"

namespace vigilon {

namespace {
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kDataFill = 0x45;
}  // namespace

void CEchoProbe::FillEchoRequest(std::uint8_t* buffer, int length) const {
    buffer[0] = kEchoRequest;
    buffer[1] = 0;
    StoreLe16(buffer + 2, 0);
    StoreLe16(buffer + 4, identifier);
    StoreLe16(buffer + 6, 0);
    if (length > kHeaderSize) std::memset(buffer + kHeaderSize, kDataFill, length - kHeaderSize);
}

std::uint16_t CEchoProbe::Checksum(const std::uint8_t* buffer, int length) {
    std::uint32_t sum = 0;
    int i = 0;
    for (; i + 1 < length; i += 2) sum += LoadLe16(buffer + i);
    if (i < length) sum += buffer[i];
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

void CEchoProbe::BuildRequest(std::uint8_t* buffer, int length) {
    FillEchoRequest(buffer, length);
    StoreLe16(buffer + 2, 0);
    StoreLe32(buffer + 8, MonotonicMs());
    StoreLe16(buffer + 6, nextSequence++);
    StoreLe16(buffer + 2, Checksum(buffer, length));
}

std::string CEchoProbe::DecodeReply(const std::uint8_t* buffer, int byteCount,
                                    const sockaddr_in& source) const {
    return ProbeText(DecodeResult(buffer, byteCount, source), {});
}

EchoResult CEchoProbe::DecodeResult(const std::uint8_t* buffer, int byteCount,
                                    const sockaddr_in& source) const {
    EchoResult result;
    result.source = source.sin_addr;
    const int ipHeader = byteCount > 0 ? (buffer[0] & 0x0F) * 4 : 0;
    if (byteCount < ipHeader + 8) {
        result.outcome = EchoOutcome::TooShort;
        return result;
    }
    result.ipHeaderBytes = ipHeader;
    result.messageBytes = byteCount - ipHeader;
    if (ipHeader > 8) result.ttl = buffer[8];
    const std::uint8_t* icmp = buffer + ipHeader;
    result.icmpType = icmp[0];
    result.icmpCode = icmp[1];
    if (icmp[0] != kEchoReply) {
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
