#include "EchoChannel.h"

#include <algorithm>
#include <cerrno>

#include "ByteOrder.h"
#include "EchoMatch.h"
#include "IcmpWire.h"
#include "MonotonicClock.h"

namespace vigilon {

namespace {

// Room for the largest IP header and request, and for errors that quote it.
constexpr int kReceiveBuffer = 2048;
// Reading stops after this many messages, so that a flood cannot keep the
// sender from its next request.
constexpr int kMostPerRead = 64;

// A socket for a family the system cannot ping: every step says so.
class NoEchoSocket : public EchoSocket {
public:
    int Open() override { return EAFNOSUPPORT; }
    bool Unprivileged() const override { return false; }
    std::optional<std::uint16_t> SystemIdentifier() const override { return std::nullopt; }
    std::uint8_t RequestType() const override { return 0; }
    int Admit(const EchoAdmission&) override { return EAFNOSUPPORT; }
    int LimitSendWait(std::uint32_t) override { return EAFNOSUPPORT; }
    int Send(const std::vector<std::uint8_t>&, const IpAddress&) override { return EAFNOSUPPORT; }
    SocketWait Wait(std::int64_t, WakeHandle) override {
        return {SocketWait::End::Failed, EAFNOSUPPORT};
    }
    int Receive(std::uint8_t*, int, ReceivedEcho&) override { return EAFNOSUPPORT; }
};

}  // namespace

EchoChannel::EchoChannel(std::unique_ptr<EchoSocket> socket, const EchoChannelSetup& setup)
    : socket(socket ? std::move(socket) : std::make_unique<NoEchoSocket>()),
      setup(setup),
      identifier(setup.identifier) {}

std::uint16_t EchoChannel::WireSequence(std::uint16_t count) const {
    return static_cast<std::uint16_t>(count + setup.sequenceOffset);
}

std::uint16_t EchoChannel::AsFiltered(std::uint16_t value) const {
    std::uint8_t wire[2];
    StoreEchoField(setup.layout, wire, value);
    return LoadBe16(wire);
}

int EchoChannel::Open() {
    if (const int error = socket->Open()) return error;
    // The kernel writes its own identifier over ours: the request carries
    // it from the start, so that replies and quoted requests repeat it.
    if (const std::optional<std::uint16_t> own = socket->SystemIdentifier())
        identifier = IdentifierStoredAs(setup.layout, *own);
    EchoAdmission admission;
    admission.identifier = AsFiltered(identifier);
    if (setup.onlyCount) admission.sequence = AsFiltered(WireSequence(*setup.onlyCount));
    admission.errors = setup.errorsSettle;
    return socket->Admit(admission);
}

std::optional<EchoResult> EchoChannel::Send(const IpAddress& to, std::uint16_t count,
                                            int dataBytes) {
    Waiting request{count, WireSequence(count), MonotonicUs(), to, {}};
    request.message = BuildEchoRequest(setup.layout, socket->RequestType(), identifier,
                                       request.sequence, dataBytes, request.sentAtUs);
    if (const int error = socket->Send(request.message, to)) {
        EchoResult refused;
        refused.outcome = EchoOutcome::LocalError;
        refused.step = LocalStep::Send;
        refused.error = error;
        refused.sequence = count;
        refused.sentAtUs = request.sentAtUs;
        return refused;
    }
    // A sequence that wrapped round replaces the request still waiting under it.
    const auto older = FindWaiting(request.sequence);
    if (older != waiting.end()) waiting.erase(older);
    waiting.push_back(std::move(request));
    return std::nullopt;
}

EchoChannel::Waited EchoChannel::Await(std::int64_t deadlineUs, WakeHandle wake) {
    Waited waited;
    const SocketWait wait = socket->Wait(deadlineUs, wake);
    switch (wait.end) {
        case SocketWait::End::Woken: waited.woken = true; return waited;
        case SocketWait::End::Failed: waited.waitError = wait.error; return waited;
        case SocketWait::End::Quiet: return waited;
        case SocketWait::End::Readable: break;
    }
    ReadQueued(waited);
    return waited;
}

void EchoChannel::ReadQueued(Waited& waited) {
    std::uint8_t buffer[kReceiveBuffer];
    for (int read = 0; read < kMostPerRead; ++read) {
        ReceivedEcho got;
        const int error = socket->Receive(buffer, sizeof buffer, got);
        if (error == EINTR) continue;
        if (error == EAGAIN || error == EWOULDBLOCK) return;
        if (error != 0) {
            waited.readError = error;
            return;
        }
        if (std::optional<EchoResult> result = Settle(got)) waited.settled.push_back(*result);
    }
}

std::optional<EchoResult> EchoChannel::Settle(const ReceivedEcho& got) {
    const bool reply = got.kind == ReceivedEcho::Kind::Reply;
    const bool error = got.kind == ReceivedEcho::Kind::Error && setup.errorsSettle &&
                       got.quotedBytes >= kIcmpHeader;
    if (!reply && !error) return std::nullopt;
    const std::uint8_t* sequenceAt = reply ? got.message + 6 : got.quoted + 6;
    const auto request = FindWaiting(LoadEchoField(setup.layout, sequenceAt));
    if (request == waiting.end()) return std::nullopt;

    const SentEcho sent{request->message.data(), static_cast<int>(request->message.size()),
                        request->destination};
    EchoResult result;
    if (reply) {
        if (!IsAnswerTo(sent, got)) return std::nullopt;
        result.outcome = EchoOutcome::Reply;
    } else {
        if (!IsErrorAbout(sent, got)) return std::nullopt;
        result.outcome = got.outcome;
        result.icmpType = got.icmpType;
        result.icmpCode = got.icmpCode;
        result.icmpInfo = got.icmpInfo;
    }
    result.sequence = request->count;
    result.sentAtUs = request->sentAtUs;
    result.roundTripUs = got.roundTripUs >= 0
                             ? got.roundTripUs
                             : std::max<std::int64_t>(0, got.receivedAtUs - request->sentAtUs);
    result.ttl = got.ttl;
    result.ipHeaderBytes = got.headerBytes;
    result.messageBytes = got.messageBytes;
    result.source = got.source;
    waiting.erase(request);
    return result;
}

std::vector<EchoResult> EchoChannel::Expire(std::int64_t nowUs, std::int64_t waitUs) {
    std::vector<EchoResult> expired;
    while (!waiting.empty() && nowUs - waiting.front().sentAtUs >= waitUs) {
        EchoResult result;  // timed out
        result.sequence = waiting.front().count;
        result.sentAtUs = waiting.front().sentAtUs;
        result.source = waiting.front().destination;
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
