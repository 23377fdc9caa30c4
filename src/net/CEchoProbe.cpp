#include "CEchoProbe.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "ByteOrder.h"
#include "EchoAnswer.h"
#include "IcmpSocket.h"
#include "MonotonicClock.h"
#include "NameLookup.h"
#include "ProbeResult.h"

namespace vigilon {

namespace {

struct FreeBuffer {
    void operator()(std::uint8_t* buffer) const { std::free(buffer); }
};
using Buffer = std::unique_ptr<std::uint8_t, FreeBuffer>;

bool IsTimeout(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == ETIMEDOUT;
}

std::string WithCode(const char* format, int code) {
    char text[96];
    std::snprintf(text, sizeof text, format, code);
    return text;
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

CEchoProbe::CEchoProbe(UserPrompt& prompt, PauseFn pause, std::uint16_t identifier)
    : prompt(prompt),
      pause(std::move(pause)),
      identifier(identifier),
      sequenceOffset(UnsharedOffset()) {}

std::string CEchoProbe::Fail(const std::string& text) {
    prompt.ShowMessage(text);
    return text;
}

std::uint16_t CEchoProbe::WireSequence(std::uint16_t count) const {
    return static_cast<std::uint16_t>(count + sequenceOffset);
}

void CEchoProbe::MaskSequence(std::uint8_t* request, int length) const {
    StoreLe16(request + 6, WireSequence(LoadLe16(request + 6)));
    StoreLe16(request + 2, 0);
    StoreLe16(request + 2, Checksum(request, length));
}

std::string CEchoProbe::Ping(const std::string& host, int dataSize) {
    IcmpSocket socket;
    if (const int error = socket.Open()) return Fail(WithCode("WSASocket() failed: %d", error));
    if (const int error = socket.AdmitOnly(identifier, WireSequence(nextSequence)))
        return Fail(WithCode("WSASocket() failed: %d", error));

    // The reply wait is bounded by poll alone; only the send needs a time-out.
    const timeval wait{kReplyWaitMs / 1000, (kReplyWaitMs % 1000) * 1000};
    if (setsockopt(socket.Fd(), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait) != 0)
        return Fail(WithCode("failed to set send timeout: %d", errno));

    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    if (!ResolveFirstAddress(host, destination.sin_addr)) {
        const in_addr_t parsed = inet_addr(host.c_str());
        if (parsed == INADDR_NONE) return Fail("Unable to resolve " + host);
        destination.sin_addr.s_addr = parsed;
    }

    if (dataSize == 0) dataSize = kDefaultDataSize;
    // The request must fit its buffer; anything else could never be sent
    // whole. Checked before adding the header, which could overflow.
    if (dataSize < 0 || dataSize > kBufferSize - kHeaderSize)
        return Fail(WithCode("sendto failed: %d", EMSGSIZE));
    const int length = dataSize + kHeaderSize;

    Buffer request(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    Buffer reply(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    if (!request || !reply) return Fail(WithCode("HeapAlloc failed %d", errno));

    BuildRequest(request.get(), length);
    MaskSequence(request.get(), length);
    if (sendto(socket.Fd(), request.get(), length, 0, reinterpret_cast<sockaddr*>(&destination),
               sizeof destination) < 0) {
        const int error = errno;
        if (IsTimeout(error)) return kTimedOut;
        return Fail(WithCode("sendto failed: %d", error));
    }
    const std::uint32_t sentAtMs = MonotonicMs();
    return AwaitReply(socket, request.get(), length, destination, sentAtMs, reply.get());
}

std::string CEchoProbe::AwaitReply(const IcmpSocket& socket, const std::uint8_t* request,
                                   int length, const sockaddr_in& destination,
                                   std::uint32_t sentAtMs, std::uint8_t* reply) {
    const SentEcho sent{request, length, destination.sin_addr};
    // A datagram socket hands over the ICMP message alone: leave room for the
    // IP header that AdaptDatagramReply puts in front.
    const int offset = socket.IsDatagram() ? IcmpSocket::kSyntheticHeaderSize : 0;
    for (;;) {
        const std::uint32_t waited = MonotonicMs() - sentAtMs;
        if (waited >= kReplyWaitMs) return kTimedOut;
        pollfd ready{socket.Fd(), POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(kReplyWaitMs - waited));
        if (polled < 0 && errno != EINTR) return Fail(WithCode("recvfrom failed: %d", errno));
        if (polled <= 0) continue;

        std::memset(reply, 0, kBufferSize);
        sockaddr_in source{};
        socklen_t sourceLength = sizeof source;
        const ssize_t received =
            recvfrom(socket.Fd(), reply + offset, kBufferSize - offset, MSG_DONTWAIT,
                     reinterpret_cast<sockaddr*>(&source), &sourceLength);
        if (received < 0) {
            if (errno == EINTR || IsTimeout(errno)) continue;
            return Fail(WithCode("recvfrom failed: %d", errno));
        }
        int byteCount = static_cast<int>(received);
        if (socket.IsDatagram())
            byteCount = AdaptDatagramReply(reply, byteCount, source, socket.KernelIdentifier(),
                                           identifier);
        if (!IsAnswerTo(sent, reply, byteCount, source)) continue;

        // The line shows the probe's own count, 0 for a fresh probe's first
        // request, not the shifted number the wire carried.
        const int ipHeader = (reply[0] & 0x0F) * 4;
        StoreLe16(reply + ipHeader + 6, static_cast<std::uint16_t>(LoadLe16(request + 6) -
                                                                   sequenceOffset));
        std::string result = DecodeReply(reply, byteCount, source);
        pause(kPauseAfterReplyMs);
        return result;
    }
}

}  // namespace vigilon
