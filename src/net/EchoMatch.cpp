#include "EchoMatch.h"

#include <algorithm>
#include <cstring>

#include "IcmpWire.h"

namespace vigilon {

namespace {
// Type, code and checksum differ between request and reply; from the
// identifier on, a reply repeats the request.
constexpr int kEchoedFrom = 4;
constexpr int kChecksumAt = 2;
}  // namespace

bool IsAnswerTo(const SentEcho& request, const ReceivedEcho& got) {
    if (got.kind != ReceivedEcho::Kind::Reply || got.source != request.destination) return false;
    if (request.length < kEchoedFrom || got.messageBytes != request.length) return false;
    return std::memcmp(got.message + kEchoedFrom, request.message + kEchoedFrom,
                       request.length - kEchoedFrom) == 0;
}

bool IsErrorAbout(const SentEcho& request, const ReceivedEcho& got) {
    if (got.kind != ReceivedEcho::Kind::Error || got.quotedDestination != request.destination)
        return false;
    if (got.quotedBytes < kIcmpHeader || request.length < kIcmpHeader) return false;
    const int compared = std::min(got.quotedBytes, request.length);
    if (request.destination.Family() == IpFamily::V4)
        return std::memcmp(got.quoted, request.message, compared) == 0;
    return std::memcmp(got.quoted, request.message, kChecksumAt) == 0 &&
           std::memcmp(got.quoted + kEchoedFrom, request.message + kEchoedFrom,
                       compared - kEchoedFrom) == 0;
}

}  // namespace vigilon
