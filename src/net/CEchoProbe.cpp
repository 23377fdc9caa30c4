#include "CEchoProbe.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "ByteOrder.h"
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

// An echo reply carrying our identifier and the sequence just sent; a raw
// socket also sees our own request, other programs' traffic and routers' errors.
bool IsOwnReply(const std::uint8_t* datagram, int byteCount, std::uint16_t identifier,
                std::uint16_t sequence) {
    const int ipHeader = (datagram[0] & 0x0F) * 4;
    if (byteCount < ipHeader + 8) return false;
    const std::uint8_t* icmp = datagram + ipHeader;
    return icmp[0] == 0 && LoadLe16(icmp + 4) == identifier && LoadLe16(icmp + 6) == sequence;
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
    : prompt(prompt), pause(std::move(pause)), identifier(identifier) {}

std::string CEchoProbe::Fail(const std::string& text) {
    prompt.ShowMessage(text);
    return text;
}

std::string CEchoProbe::Ping(const std::string& host, int dataSize) {
    IcmpSocket socket;
    if (const int error = socket.Open()) return Fail(WithCode("WSASocket() failed: %d", error));

    const timeval wait{kReplyWaitMs / 1000, (kReplyWaitMs % 1000) * 1000};
    if (setsockopt(socket.Fd(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0)
        return Fail(WithCode("failed to set recv timeout: %d", errno));
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
    const int length = dataSize + kHeaderSize;
    // The request must fit its buffer; anything else could never be sent whole.
    if (dataSize < 0 || length > kBufferSize) return Fail(WithCode("sendto failed: %d", EMSGSIZE));

    Buffer request(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    Buffer reply(static_cast<std::uint8_t*>(std::calloc(kBufferSize, 1)));
    if (!request || !reply) return Fail(WithCode("HeapAlloc failed %d", errno));

    BuildRequest(request.get(), length);
    const std::uint16_t sequence = LoadLe16(request.get() + 6);
    if (sendto(socket.Fd(), request.get(), length, 0, reinterpret_cast<sockaddr*>(&destination),
               sizeof destination) < 0) {
        const int error = errno;
        if (IsTimeout(error)) return kTimedOut;
        return Fail(WithCode("sendto failed: %d", error));
    }
    const std::uint32_t sentAtMs = MonotonicMs();
    return AwaitReply(socket, sequence, sentAtMs, reply.get());
}

std::string CEchoProbe::AwaitReply(const IcmpSocket& socket, std::uint16_t sequence,
                                   std::uint32_t sentAtMs, std::uint8_t* reply) {
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
        if (!IsOwnReply(reply, byteCount, identifier, sequence)) continue;

        std::string result = DecodeReply(reply, byteCount, source);
        pause(kPauseAfterReplyMs);
        return result;
    }
}

}  // namespace vigilon
