#include "EchoChannel.h"

#include <arpa/inet.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoAnswer.h"
#include "EchoReport.h"
#include "MonotonicClock.h"

namespace vigilon {

namespace {

constexpr int kIcmpHeader = 8;
constexpr int kStampBytes = 8;
// Room for the largest IP header and request, and for errors that quote it.
constexpr int kReceiveBuffer = 2048;
// Reading stops after this many datagrams, so that a flood cannot keep the
// sender from its next request.
constexpr int kMostPerRead = 64;

// Not guessable from outside, so that replies made up without seeing a
// request rarely carry it; the process id when the kernel has no random
// bytes to give yet.
std::uint16_t UnsharedIdentifier() {
    std::uint16_t value = 0;
    if (getrandom(&value, sizeof value, GRND_NONBLOCK) == sizeof value) return value;
    return static_cast<std::uint16_t>(getpid());
}

}  // namespace

int EchoChannel::Open() {
    if (const int error = socket.Open()) return error;
    identifier = socket.IsDatagram() ? socket.KernelIdentifier() : UnsharedIdentifier();
    return socket.AdmitAnswersAndErrors(identifier);
}

void EchoChannel::BuildRequest(Waiting& request, int dataSize) const {
    std::vector<std::uint8_t>& message = request.message;
    message.assign(static_cast<std::size_t>(kIcmpHeader + dataSize), 0);
    message[0] = 8;  // echo request
    StoreBe16(message.data() + 4, identifier);
    StoreBe16(message.data() + 6, request.sequence);
    // The send time first, as far as it fits, which no one can guess; then
    // counting bytes.
    request.sentAtUs = MonotonicUs();
    for (int i = 0; i < dataSize; ++i)
        message[kIcmpHeader + i] =
            i < kStampBytes ? static_cast<std::uint8_t>(request.sentAtUs >> (8 * (7 - i)))
                            : static_cast<std::uint8_t>(i);
    StoreLe16(message.data() + 2, CEchoProbe::Checksum(message.data(), kIcmpHeader + dataSize));
}

std::optional<EchoResult> EchoChannel::Send(std::uint16_t sequence, int dataSize) {
    Waiting request{sequence, 0, {}};
    BuildRequest(request, std::clamp(dataSize, 0, kMaxDataSize));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = destination;
    if (sendto(socket.Fd(), request.message.data(), request.message.size(), MSG_DONTWAIT,
               reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
        EchoResult refused;
        refused.outcome = EchoOutcome::LocalError;
        refused.step = LocalStep::Send;
        refused.error = errno;
        refused.sequence = sequence;
        refused.sentAtUs = request.sentAtUs;
        return refused;
    }
    // A sequence that wrapped round replaces the request still waiting under it.
    const auto older = FindWaiting(sequence);
    if (older != waiting.end()) waiting.erase(older);
    waiting.push_back(std::move(request));
    return std::nullopt;
}

std::vector<EchoResult> EchoChannel::ReadQueued() {
    std::vector<EchoResult> settled;
    std::uint8_t buffer[kReceiveBuffer];
    for (int read = 0; read < kMostPerRead; ++read) {
        IcmpDatagram got;
        const int error = socket.Receive(buffer, sizeof buffer, got);
        if (error == EINTR) continue;
        // Anything else that goes wrong here is about no request in
        // particular: the waiting ones time out if it keeps going wrong.
        if (error != 0) break;
        if (std::optional<EchoResult> result = Settle(buffer, got)) settled.push_back(*result);
    }
    return settled;
}

std::optional<EchoResult> EchoChannel::Settle(const std::uint8_t* datagram,
                                              const IcmpDatagram& got) {
    if (got.byteCount < 1) return std::nullopt;
    const int ipHeader = (datagram[0] & 0x0F) * 4;
    if (got.byteCount < ipHeader + kIcmpHeader) return std::nullopt;
    const bool reply = datagram[ipHeader] == 0;
    const std::optional<QuotedMessage> quoted =
        reply ? std::nullopt : QuotedIcmp(datagram, got.byteCount);
    if (!reply && (!quoted || quoted->length < kIcmpHeader)) return std::nullopt;
    const std::uint8_t* sequenceAt = reply ? datagram + ipHeader + 6 : quoted->message + 6;
    const auto request = FindWaiting(LoadBe16(sequenceAt));
    if (request == waiting.end()) return std::nullopt;

    const SentEcho sent{request->message.data(), static_cast<int>(request->message.size()),
                        destination};
    EchoResult result;
    if (reply) {
        if (!IsAnswerTo(sent, datagram, got.byteCount, got.source)) return std::nullopt;
        result.outcome = EchoOutcome::Reply;
    } else {
        if (!IsErrorAbout(sent, datagram, got.byteCount)) return std::nullopt;
        ReadErrorDetails(datagram, got.byteCount, result);
    }
    result.sequence = request->sequence;
    result.sentAtUs = request->sentAtUs;
    result.roundTripUs = std::max<std::int64_t>(0, got.receivedAtUs - request->sentAtUs);
    result.ttl = got.ttl;
    result.ipHeaderBytes = ipHeader;
    result.messageBytes = got.byteCount - ipHeader;
    result.source = got.source.sin_addr;
    waiting.erase(request);
    return result;
}

std::vector<EchoResult> EchoChannel::Expire(std::int64_t nowUs, std::int64_t waitUs) {
    std::vector<EchoResult> expired;
    while (!waiting.empty() && nowUs - waiting.front().sentAtUs >= waitUs) {
        EchoResult result;  // timed out
        result.sequence = waiting.front().sequence;
        result.sentAtUs = waiting.front().sentAtUs;
        result.source = destination;
        expired.push_back(result);
        waiting.pop_front();
    }
    return expired;
}

std::optional<std::int64_t> EchoChannel::OldestSentAtUs() const {
    if (waiting.empty()) return std::nullopt;
    return waiting.front().sentAtUs;
}

std::deque<EchoChannel::Waiting>::iterator EchoChannel::FindWaiting(std::uint16_t sequence) {
    return std::find_if(waiting.begin(), waiting.end(), [sequence](const Waiting& request) {
        return request.sequence == sequence;
    });
}

}  // namespace vigilon
