#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <string>

#include "EchoResult.h"

namespace vigilon {

class IcmpSocket;

// One ICMP echo exchange per Ping call, reported as one text line; Exchange
// tells local failures apart for the caller to report. The only state kept
// between calls is the sequence counter.
class CEchoProbe {
public:
    // The blocking pause after an answered probe; tests pass a recorder.
    using PauseFn = std::function<void(std::uint32_t milliseconds)>;

    static constexpr int kBufferSize = 1024;
    static constexpr int kHeaderSize = 12;  // type, code, checksum, id, sequence, timestamp
    static constexpr int kDefaultDataSize = 32;
    static constexpr std::uint32_t kReplyWaitMs = 1000;
    static constexpr std::uint32_t kPauseAfterReplyMs = 500;

    // Low 16 bits of the process id: the identifier of every request.
    static std::uint16_t ProcessIdentifier();
    static void SleepMs(std::uint32_t milliseconds);

    explicit CEchoProbe(PauseFn pause = SleepMs, std::uint16_t identifier = ProcessIdentifier());
    virtual ~CEchoProbe() = default;

    // host: a name or a dotted IPv4 address; dataSize 0 means 32, at most 1012.
    std::string Ping(const std::string& host, int dataSize);
    // The same exchange, structured; Ping's text is made from it.
    EchoResult Exchange(const std::string& host, int dataSize);

    // Type 8, code 0, the identifier, checksum and sequence 0, data bytes 'E'.
    void FillEchoRequest(std::uint8_t* buffer, int length) const;
    // Internet checksum (RFC 1071) of little-endian word pairs; store it low byte first.
    static std::uint16_t Checksum(const std::uint8_t* buffer, int length);
    // A complete request: sequence from nextSequence (which then advances),
    // timestamp now, checksum last.
    void BuildRequest(std::uint8_t* buffer, int length);
    // Text for one received datagram that starts with its IP header.
    std::string DecodeReply(const std::uint8_t* buffer, int byteCount,
                            const sockaddr_in& source) const;
    // What DecodeReply reads from it; the round trip from the echoed timestamp.
    EchoResult DecodeResult(const std::uint8_t* buffer, int byteCount,
                            const sockaddr_in& source) const;

    std::uint16_t nextSequence = 0;

private:
    // The sequence a request of this count carries on the wire.
    std::uint16_t WireSequence(std::uint16_t count) const;
    // Puts the wire sequence in place of the count in a built request.
    void MaskSequence(std::uint8_t* request, int length) const;
    // Reads until the answer to the request arrives or the wait is over.
    EchoResult AwaitReply(const IcmpSocket& socket, const std::uint8_t* request, int length,
                          const sockaddr_in& destination, std::int64_t sentAtUs,
                          std::uint8_t* reply);

    PauseFn pause;
    std::uint16_t identifier;
    // Every probe counts from 0, and one is made per cycle: on the wire each
    // probe's count is shifted by its own random offset, so that a late
    // reply to an earlier probe, or a reply made up by someone who has not
    // seen the request, rarely even carries the right sequence.
    std::uint16_t sequenceOffset;
};

}  // namespace vigilon
