#pragma once

#include <netinet/in.h>

#include <cstdint>

namespace vigilon {

// One datagram as IcmpSocket::Receive laid it out: IP header first.
struct IcmpDatagram {
    int byteCount = 0;  // 0: nothing for the caller (a local error report)
    sockaddr_in source{};
    int ttl = -1;                   // -1 when the socket did not tell
    std::int64_t receivedAtUs = 0;  // monotonic clock, when the kernel took it in
};

// An ICMP socket that closes itself. A raw socket needs root or CAP_NET_RAW;
// without them Linux offers a datagram ICMP socket to the groups listed in
// net.ipv4.ping_group_range.
class IcmpSocket {
public:
    // Size of the IP header put in front of datagram-socket replies.
    static constexpr int kSyntheticHeaderSize = 20;

    IcmpSocket() = default;
    ~IcmpSocket();
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    // Raw first, the datagram kind when the raw one is refused. Returns the
    // errno of the last attempt, 0 on success.
    int Open();

    // Lets the kernel drop what cannot answer the one request this socket
    // sends: on the raw kind, everything but echo replies carrying identifier
    // and sequence (as written, low byte first). The datagram kind already
    // receives only replies to its own identifier. Returns an errno, 0 on success.
    int AdmitOnly(std::uint16_t identifier, std::uint16_t sequence) const;

    // For a socket that sends many requests with one identifier (network
    // byte order): echo replies to it, and the ICMP errors that quote one of
    // its requests, which the datagram kind queues apart (IP_RECVERR).
    // Returns an errno, 0 on success.
    int AdmitAnswersAndErrors(std::uint16_t identifier);

    // Reads one queued datagram into buffer without waiting. The datagram
    // kind's messages get a synthetic IP header, and its queued error reports
    // come dressed as the ICMP error a raw socket reads: outer header from the
    // router, the error's header, the quoted IP header (to the destination)
    // and the quoted message. Returns 0 or an errno (EAGAIN: nothing queued).
    int Receive(std::uint8_t* buffer, int size, IcmpDatagram& got) const;

    int Fd() const { return fd; }
    // The datagram kind strips the IP header and uses its own identifier.
    bool IsDatagram() const { return datagram; }
    std::uint16_t KernelIdentifier() const { return kernelIdentifier; }

private:
    int ReceiveError(std::uint8_t* buffer, int size, IcmpDatagram& got) const;

    int fd = -1;
    bool datagram = false;
    bool errorsQueued = false;  // the datagram kind with IP_RECVERR
    std::uint16_t kernelIdentifier = 0;
};

// Writes a 20-byte IPv4 header from source with the given time to live in
// front of the ICMP message of icmpBytes at buffer + kSyntheticHeaderSize.
// Returns the whole datagram's length.
int PutSyntheticHeader(std::uint8_t* buffer, int icmpBytes, const sockaddr_in& source, int ttl);

// Where the ICMP message of icmpBytes carries the kernel's identifier of a
// datagram socket (network byte order), puts ownIdentifier back, low byte first.
void RestoreIdentifier(std::uint8_t* icmp, int icmpBytes, std::uint16_t kernelIdentifier,
                       std::uint16_t ownIdentifier);

// Makes a datagram-socket reply look like a raw one: the ICMP message of
// icmpBytes lies at buffer + kSyntheticHeaderSize; writes a 20-byte IPv4
// header in front of it and, when the message carries the kernel's
// identifier, puts ownIdentifier back. Returns the whole datagram's length.
int AdaptDatagramReply(std::uint8_t* buffer, int icmpBytes, const sockaddr_in& source,
                       std::uint16_t kernelIdentifier, std::uint16_t ownIdentifier);

}  // namespace vigilon
