#include "CEchoProbe.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "ByteOrder.h"
#include "EchoAnswer.h"
#include "IcmpSocket.h"
#include "MonotonicClock.h"
#include "NameLookup.h"
#include "ProbeText.h"

namespace vigilon {

namespace {

struct FreeBuffer {
    void operator()(std::uint8_t* buffer) const { std::free(buffer); }
};
using Buffer = std::unique_ptr<std::uint8_t, FreeBuffer>;

bool IsTimeout(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == ETIMEDOUT;
}

EchoResult Failed(LocalStep step, int error) {
    EchoResult result;
    result.outcome = EchoOutcome::LocalError;
    result.step = step;
    result.error = error;
    return result;
}

// Not shared with earlier probes nor guessable from outside; the clock and a
// counter only when the kernel has no random bytes to give yet.
std::uint16_t UnsharedOffset() {
    std::uint16_t offset = 0;
    if (getrandom(&offset, sizeof offset, GRND_NONBLOCK) == sizeof offset) return offset;
    static std::atomic<std::uint16_t> drawn{0};
    return static_cast<std::uint16_t>(MonotonicMs() * 2654435761U + 40503U * ++drawn);
}

}  // namespace

std::uint16_t CEchoProbe::ProcessIdentifier() {
    return static_cast<std::uint16_t>(getpid() & 0xFFFF);
}

void CEchoProbe::SleepMs(std::uint32_t milliseconds) {
    timespec rest{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

CEchoProbe::CEchoProbe(PauseFn pause, std::uint16_t identifier)
    : pause(std::move(pause)),
      identifier(identifier),
      sequenceOffset(UnsharedOffset()) {}

std::uint16_t CEchoProbe::WireSequence(std::uint16_t count) const {
    return static_cast<std::uint16_t>(count + sequenceOffset);
}

void CEchoProbe::MaskSequence(std::uint8_t* request, int length) const {
    StoreLe16(request + 6, WireSequence(LoadLe16(request + 6)));
    StoreLe16(request + 2, 0);
    StoreLe16(request + 2, Checksum(request, length));
}

std::string CEchoProbe::Ping(const std::string& host, int dataSize) {
    return ProbeText(Exchange(host, dataSize), host);
}

EchoResult CEchoProbe::Exchange(const std::string& host, int dataSize) {
    IcmpSocket socket;
    if (const int error = socket.Open()) return Failed(LocalStep::OpenSocket, error);
    if (const int error = socket.AdmitOnly(identifier, WireSequence(nextSequence)))
        return Failed(LocalStep::OpenSocket, error);

    // The reply wait is bounded by poll alone; only the send needs a time-out.
    const timeval wait{kReplyWaitMs / 1000, (kReplyWaitMs % 1000) * 1000};
    if (setsockopt(socket.Fd(), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait) != 0)
        return Failed(LocalStep::SetSendTimeout, errno);

    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    if (!ResolveFirstAddress(host, destination.sin_addr)) {
        const in_addr_t parsed = inet_addr(host.c_str());
        if (parsed == INADDR_NONE) return Failed(LocalStep::Resolve, 0);
        destination.sin_addr.s_addr = parsed;
    }

    if (dataSize == 0) dataSize = kDefaultDataSize;
    // The request must fit its buffer; anything else could never be sent
    // whole. Checked before adding the header, which could overflow.
    if (dataSize < 0 || dataSize > kBufferSize - kHeaderSize)
        return Failed(LocalStep::Send, EMSGSIZE);
    const int length = dataSize + kHeaderSize;

    Buffer request(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    Buffer reply(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    if (!request || !reply) return Failed(LocalStep::Allocate, errno);

    BuildRequest(request.get(), length);
    MaskSequence(request.get(), length);
    const std::int64_t sentAtUs = MonotonicUs();
    if (sendto(socket.Fd(), request.get(), length, 0, reinterpret_cast<sockaddr*>(&destination),
               sizeof destination) < 0) {
        const int error = errno;
        if (IsTimeout(error)) return EchoResult{};
        return Failed(LocalStep::Send, error);
    }
    return AwaitReply(socket, request.get(), length, destination, sentAtUs, reply.get());
}

EchoResult CEchoProbe::AwaitReply(const IcmpSocket& socket, const std::uint8_t* request,
                                  int length, const sockaddr_in& destination,
                                  std::int64_t sentAtUs, std::uint8_t* reply) {
    const SentEcho sent{request, length, destination.sin_addr};
    constexpr std::int64_t waitUs = std::int64_t{kReplyWaitMs} * 1000;
    for (;;) {
        const std::int64_t waitedUs = MonotonicUs() - sentAtUs;
        if (waitedUs >= waitUs) return EchoResult{};
        pollfd ready{socket.Fd(), POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>((waitUs - waitedUs + 999) / 1000));
        if (polled < 0 && errno != EINTR) return Failed(LocalStep::Receive, errno);
        if (polled <= 0) continue;

        std::memset(reply, 0, kBufferSize);
        IcmpDatagram got;
        if (const int error = socket.Receive(reply, kBufferSize, got)) {
            if (error == EINTR || IsTimeout(error)) continue;
            return Failed(LocalStep::Receive, error);
        }
        // A datagram socket hands over the ICMP message alone, with the
        // kernel's identifier in place of ours.
        if (socket.IsDatagram())
            RestoreIdentifier(reply + IcmpSocket::kSyntheticHeaderSize,
                              got.byteCount - IcmpSocket::kSyntheticHeaderSize,
                              socket.KernelIdentifier(), identifier);
        if (!IsAnswerTo(sent, reply, got.byteCount, got.source)) continue;

        EchoResult result = DecodeResult(reply, got.byteCount, got.source);
        // The result shows the probe's own count, 0 for a fresh probe's first
        // request, not the shifted number the wire carried.
        result.sequence = static_cast<std::uint16_t>(LoadLe16(request + 6) - sequenceOffset);
        result.sentAtUs = sentAtUs;
        result.roundTripUs = got.receivedAtUs - sentAtUs;
        result.ttl = got.ttl;
        pause(kPauseAfterReplyMs);
        return result;
    }
}

}  // namespace vigilon
