#pragma once

#include <netinet/in.h>

#include <cstdint>

namespace vigilon {

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

    int Fd() const { return fd; }
    // The datagram kind strips the IP header and uses its own identifier.
    bool IsDatagram() const { return datagram; }
    std::uint16_t KernelIdentifier() const { return kernelIdentifier; }

private:
    int fd = -1;
    bool datagram = false;
    std::uint16_t kernelIdentifier = 0;
};

// Makes a datagram-socket reply look like a raw one: the ICMP message of
// icmpBytes lies at buffer + kSyntheticHeaderSize; writes a 20-byte IPv4
// header in front of it and, when the message carries the kernel's
// identifier, puts ownIdentifier back. Returns the whole datagram's length.
int AdaptDatagramReply(std::uint8_t* buffer, int icmpBytes, const sockaddr_in& source,
                       std::uint16_t kernelIdentifier, std::uint16_t ownIdentifier);

}  // namespace vigilon
