#include "IcmpSocket.h"

#include <arpa/inet.h>
#include <linux/filter.h>
#include <linux/icmp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ByteOrder.h"

namespace vigilon {

IcmpSocket::~IcmpSocket() {
    if (fd >= 0) close(fd);
}

int IcmpSocket::Open() {
    fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) return 0;
    if (errno != EPERM && errno != EACCES) return errno;

    fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) return errno;
    datagram = true;
    // The kernel picks the identifier when the socket is bound; sendto would
    // bind it implicitly, binding now lets us read it before the send.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    socklen_t length = sizeof local;
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        const int error = errno;
        close(fd);
        fd = -1;
        return error;
    }
    kernelIdentifier = ntohs(local.sin_port);
    return 0;
}

namespace {

// A classic BPF load reads a 16-bit field as if it were big-endian; ours are
// stored low byte first.
std::uint32_t AsLoaded(std::uint16_t value) {
    return static_cast<std::uint32_t>(((value & 0xFF) << 8) | (value >> 8));
}

}  // namespace

int IcmpSocket::AdmitOnly(std::uint16_t identifier, std::uint16_t sequence) const {
    if (datagram) return 0;
    // Every ICMP datagram of the host reaches a raw socket: the type filter
    // drops the others' requests and all errors before they are queued.
    icmp_filter types{~(1U << ICMP_ECHOREPLY)};
    if (setsockopt(fd, SOL_RAW, ICMP_FILTER, &types, sizeof types) != 0) return errno;

    // The socket filter sees the IP header first; X takes its length.
    sock_filter program[] = {
        BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),
        BPF_STMT(BPF_LD | BPF_H | BPF_IND, 4),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AsLoaded(identifier), 0, 3),
        BPF_STMT(BPF_LD | BPF_H | BPF_IND, 6),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AsLoaded(sequence), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, 0xFFFF),
        BPF_STMT(BPF_RET | BPF_K, 0),
    };
    const sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]),
                            program};
    if (setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter) != 0) return errno;

    // What came in before the filters may fill the receive buffer under a
    // flood, and the reply would find no room: throw it away unread.
    std::uint8_t discard;
    while (recv(fd, &discard, 1, MSG_DONTWAIT | MSG_TRUNC) >= 0) {
    }
    return 0;
}

int AdaptDatagramReply(std::uint8_t* buffer, int icmpBytes, const sockaddr_in& source,
                       std::uint16_t kernelIdentifier, std::uint16_t ownIdentifier) {
    constexpr int header = IcmpSocket::kSyntheticHeaderSize;
    const int total = icmpBytes + header;
    std::memset(buffer, 0, header);
    buffer[0] = 0x45;  // IPv4, five 32-bit words
    const std::uint16_t totalLength = htons(static_cast<std::uint16_t>(total));
    std::memcpy(buffer + 2, &totalLength, 2);
    buffer[8] = 64;  // time to live
    buffer[9] = IPPROTO_ICMP;
    std::memcpy(buffer + 12, &source.sin_addr, 4);
    // The kernel wrote its identifier in network byte order in place of ours.
    std::uint8_t* identifierField = buffer + header + 4;
    if (icmpBytes >= 8) {
        std::uint16_t wire;
        std::memcpy(&wire, identifierField, 2);
        if (ntohs(wire) == kernelIdentifier) StoreLe16(identifierField, ownIdentifier);
    }
    return total;
}

}  // namespace vigilon
