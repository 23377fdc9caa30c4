// The echo message on the wire: building a request and reading a reply.

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "MonotonicClock.h"

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
    char text[160];
    const int ipHeader = byteCount > 0 ? (buffer[0] & 0x0F) * 4 : 0;
    if (byteCount < ipHeader + 8) {
        std::snprintf(text, sizeof text, "Too few bytes from %s", inet_ntoa(source.sin_addr));
        return text;
    }
    const std::uint8_t* icmp = buffer + ipHeader;
    if (icmp[0] != kEchoReply) {
        std::snprintf(text, sizeof text, "non-echo type %u recvd", static_cast<unsigned>(icmp[0]));
        return text;
    }
    if (LoadLe16(icmp + 4) != identifier) return "someone else's packet!";
    // A reply cut short after the sequence has no timestamp to measure by.
    const bool stamped = byteCount >= ipHeader + kHeaderSize;
    const auto elapsed =
        stamped ? static_cast<std::int32_t>(MonotonicMs() - LoadLe32(icmp + 8)) : 0;
    std::snprintf(text, sizeof text, "%d bytes from %s: icmp_seq = %d.  time: %d ms", byteCount,
                  inet_ntoa(source.sin_addr), static_cast<int>(LoadLe16(icmp + 6)),
                  static_cast<int>(elapsed));
    return text;
}

bool CEchoProbe::IsReplyText(const std::string& result) {
    // "%d bytes from ...": a count of digits, then the fixed words.
    std::size_t digits = 0;
    while (digits < result.size() && result[digits] >= '0' && result[digits] <= '9') ++digits;
    return digits > 0 && result.compare(digits, 12, " bytes from ") == 0;
}

}  // namespace vigilon
