#include "EchoAnswer.h"

#include <cstring>

namespace vigilon {

namespace {
constexpr std::uint8_t kEchoReply = 0;
// Type, code and checksum differ between request and reply; from the
// identifier on, a reply repeats the request.
constexpr int kEchoedFrom = 4;
}  // namespace

bool IsAnswerTo(const SentEcho& request, const std::uint8_t* datagram, int byteCount,
                const sockaddr_in& source) {
    if (source.sin_addr.s_addr != request.destination.s_addr) return false;
    if (byteCount < 1 || request.length < kEchoedFrom) return false;
    const int ipHeader = (datagram[0] & 0x0F) * 4;
    if (byteCount - ipHeader != request.length) return false;
    const std::uint8_t* icmp = datagram + ipHeader;
    return icmp[0] == kEchoReply &&
           std::memcmp(icmp + kEchoedFrom, request.message + kEchoedFrom,
                       request.length - kEchoedFrom) == 0;
}

}  // namespace vigilon
