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

namespace {

// The kernel's receive time of each datagram, and for the datagram kind,
// which strips the IP header, its time to live. Without them the times are
// taken on reading and the time to live stays unknown.
void AskForArrivalDetails(int fd, bool datagram) {
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    if (datagram) setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
}

}  // namespace

IcmpSocket::~IcmpSocket() {
    if (fd >= 0) close(fd);
}

int IcmpSocket::Open() {
    fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) {
        AskForArrivalDetails(fd, false);
        return 0;
    }
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
    AskForArrivalDetails(fd, true);
    return 0;
}

namespace {

// A classic BPF load reads a 16-bit field as if it were big-endian; ours are
// stored low byte first.
std::uint32_t AsLoaded(std::uint16_t value) {
    return static_cast<std::uint32_t>(((value & 0xFF) << 8) | (value >> 8));
}

// What came in before the filters may fill the receive buffer under a
// flood, and the reply would find no room: throw it away unread.
void DiscardQueued(int fd) {
    std::uint8_t discard;
    while (recv(fd, &discard, 1, MSG_DONTWAIT | MSG_TRUNC) >= 0) {
    }
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

    DiscardQueued(fd);
    return 0;
}

int IcmpSocket::AdmitAnswersAndErrors(std::uint16_t identifier) {
    if (datagram) {
        const int on = 1;
        if (setsockopt(fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on) != 0) return errno;
        errorsQueued = true;
        return 0;
    }
    constexpr unsigned kAdmitted = (1U << ICMP_ECHOREPLY) | (1U << ICMP_DEST_UNREACH) |
                                   (1U << ICMP_SOURCE_QUENCH) | (1U << ICMP_REDIRECT) |
                                   (1U << ICMP_TIME_EXCEEDED) | (1U << ICMP_PARAMETERPROB);
    icmp_filter types{~kAdmitted};
    if (setsockopt(fd, SOL_RAW, ICMP_FILTER, &types, sizeof types) != 0) return errno;

    // A reply must carry the identifier; an error must quote an echo request
    // that carried it. X takes the IP header's length, then, for an error,
    // that plus the quoted IP header's, 8 bytes short of the quoted message.
    sock_filter program[] = {
        BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),
        BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ICMP_ECHOREPLY, 0, 2),
        BPF_STMT(BPF_LD | BPF_H | BPF_IND, 4),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, identifier, 9, 10),
        BPF_STMT(BPF_LD | BPF_B | BPF_IND, 8),
        BPF_STMT(BPF_ALU | BPF_AND | BPF_K, 0x0F),
        BPF_STMT(BPF_ALU | BPF_LSH | BPF_K, 2),
        BPF_STMT(BPF_ALU | BPF_ADD | BPF_X, 0),
        BPF_STMT(BPF_MISC | BPF_TAX, 0),
        BPF_STMT(BPF_LD | BPF_B | BPF_IND, 8),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ICMP_ECHO, 0, 3),
        BPF_STMT(BPF_LD | BPF_H | BPF_IND, 12),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, identifier, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, 0xFFFF),
        BPF_STMT(BPF_RET | BPF_K, 0),
    };
    const sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]),
                            program};
    if (setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter) != 0) return errno;
    DiscardQueued(fd);
    return 0;
}

}  // namespace vigilon
