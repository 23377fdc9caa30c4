#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "SystemSockets.h"

#include "EchoIdentifiers.h"
#include "EchoResult.h"
#include "EchoSocket.h"

namespace vigilon {

// One ICMP echo exchange per Ping call, over a fresh socket, reported as one
// text line; Exchange tells local failures apart for the caller to report.
// The only state kept between calls is the sequence counter.
class CEchoProbe {
public:
    // The blocking pause after an answered probe; tests pass a recorder.
    using PauseFn = std::function<void(std::uint32_t milliseconds)>;
    // The socket of each exchange; tests pass their own.
    using SocketFn = std::function<std::unique_ptr<EchoSocket>(IpFamily family)>;

    static constexpr int kBufferSize = 1024;
    static constexpr int kHeaderSize = 12;  // type, code, checksum, id, sequence, timestamp
    static constexpr int kDefaultDataSize = 32;
    static constexpr std::uint32_t kReplyWaitMs = 1000;
    static constexpr std::uint32_t kPauseAfterReplyMs = 500;

    static void SleepMs(std::uint32_t milliseconds);

    explicit CEchoProbe(PauseFn pause = SleepMs, std::uint16_t identifier = ProcessIdentifier(),
                        SocketFn newSocket = NewSystemEchoSocket);
    virtual ~CEchoProbe() = default;

    // host: a name, a dotted IPv4 address or an IPv6 address; dataSize 0
    // means 32, at most 1012.
    std::string Ping(const std::string& host, int dataSize);
    // The same exchange, structured; Ping's text is made from it.
    EchoResult Exchange(const std::string& host, int dataSize);

    // Text for one received datagram that starts with its IP header, read by
    // the probe's own identifier.
    std::string DecodeReply(const std::uint8_t* buffer, int byteCount,
                            const sockaddr_in& source) const;
    // What DecodeReply reads from it; the round trip from the echoed timestamp.
    EchoResult DecodeResult(const std::uint8_t* buffer, int byteCount,
                            const sockaddr_in& source) const;

    std::uint16_t nextSequence = 0;

private:
    PauseFn pause;
    std::uint16_t identifier;
    SocketFn newSocket;
    // Every probe counts from 0, and one is made per cycle: on the wire each
    // probe's count is shifted by its own random offset, so that a late
    // reply to an earlier probe, or a reply made up by someone who has not
    // seen the request, rarely even carries the right sequence.
    std::uint16_t sequenceOffset;
};

}  // namespace vigilon
