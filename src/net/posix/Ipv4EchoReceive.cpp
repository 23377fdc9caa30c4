// Reading from an IPv4 ICMP socket: every datagram laid out as the raw kind
// gives it, with the kernel's receive time and the time to live.

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "EchoSocketSteps.h"
#include "IcmpWire.h"
#include "Ipv4Datagram.h"
#include "Ipv4EchoSocket.h"

namespace vigilon {

namespace {

constexpr std::uint8_t kDefaultTtl = 64;

struct Ancillary {
    const timespec* stamp = nullptr;
    int ttl = -1;
    const sock_extended_err* error = nullptr;
};

Ancillary ReadAncillary(msghdr& message) {
    Ancillary found;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMPNS)
            found.stamp = reinterpret_cast<const timespec*>(CMSG_DATA(c));
        else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL)
            std::memcpy(&found.ttl, CMSG_DATA(c), sizeof found.ttl);
        else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_RECVERR)
            found.error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
    }
    return found;
}

void ReadDatagram(const std::uint8_t* buffer, int byteCount, in_addr source, int ttl,
                  const timespec* stamp, ReceivedEcho& got) {
    got = ReadIpv4Datagram(buffer, byteCount, IpAddress::V4(source));
    got.ttl = ttl;
    got.receivedAtUs = ArrivalUs(stamp);
}

}  // namespace

int PutSyntheticHeader(std::uint8_t* buffer, int icmpBytes, in_addr source, int ttl) {
    const int total = icmpBytes + kIpv4Header;
    std::memset(buffer, 0, kIpv4Header);
    buffer[0] = 0x45;  // IPv4, five 32-bit words
    const std::uint16_t totalLength = htons(static_cast<std::uint16_t>(total));
    std::memcpy(buffer + 2, &totalLength, 2);
    buffer[8] = static_cast<std::uint8_t>(ttl);
    buffer[9] = IPPROTO_ICMP;
    std::memcpy(buffer + 12, &source, 4);
    return total;
}

int Ipv4EchoSocket::Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    if (errorsQueued) {
        const int error = ReceiveError(buffer, size, got);
        if (error != EAGAIN) return error;
    }
    const int offset = datagram ? kIpv4Header : 0;
    sockaddr_in source{};
    alignas(cmsghdr) char control[256];
    iovec part{buffer + offset, static_cast<size_t>(size - offset)};
    msghdr message{};
    message.msg_name = &source;
    message.msg_namelen = sizeof source;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received = recvmsg(fd.Get(), &message, MSG_DONTWAIT);
    if (received < 0) {
        // An error report raises the socket's error as well; it is read from
        // the queue, or was already.
        if (errorsQueued && errno != EINTR && errno != EAGAIN)
            return ReceiveError(buffer, size, got);
        return errno;
    }
    const Ancillary details = ReadAncillary(message);
    if (datagram) {
        const int byteCount =
            PutSyntheticHeader(buffer, static_cast<int>(received), source.sin_addr,
                               details.ttl >= 0 ? details.ttl : kDefaultTtl);
        ReadDatagram(buffer, byteCount, source.sin_addr, details.ttl, details.stamp, got);
    } else {
        filter.Note(fd.Get(), buffer, static_cast<std::size_t>(received));
        ReadDatagram(buffer, static_cast<int>(received), source.sin_addr,
                     received > 8 ? buffer[8] : -1, details.stamp, got);
    }
    return 0;
}

int Ipv4EchoSocket::ReceiveError(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    // Room for the outer IP header, the error's header and the quoted IP
    // header in front of the quoted message.
    constexpr int quotedAt = kIpv4Header + kIcmpHeader + kIpv4Header;
    sockaddr_in destination{};
    alignas(cmsghdr) char control[256];
    iovec part{buffer + quotedAt, static_cast<size_t>(size - quotedAt)};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t quoted = recvmsg(fd.Get(), &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (quoted < 0) return errno;

    const Ancillary details = ReadAncillary(message);
    got = ReceivedEcho{};
    // Local reports (a refused send) are given to the sender already.
    if (details.error == nullptr || details.error->ee_origin != SO_EE_ORIGIN_ICMP) return 0;
    const sock_extended_err& report = *details.error;
    const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(&report));
    in_addr source{};
    if (offender->sin_family == AF_INET) source = offender->sin_addr;

    std::uint8_t* error = buffer + kIpv4Header;
    std::memset(error, 0, kIcmpHeader);
    error[0] = report.ee_type;
    error[1] = report.ee_code;
    if (report.ee_type == icmp4::kUnreachable && report.ee_code == icmp4::kFragmentationNeeded) {
        error[6] = static_cast<std::uint8_t>(report.ee_info >> 8);  // the next hop's MTU
        error[7] = static_cast<std::uint8_t>(report.ee_info);
    } else if (report.ee_type == icmp4::kParameterProblem) {
        error[4] = static_cast<std::uint8_t>(report.ee_info);  // the pointer
    }
    PutSyntheticHeader(error + kIcmpHeader, static_cast<int>(quoted), in_addr{}, 0);
    std::memcpy(error + kIcmpHeader + 16, &destination.sin_addr, 4);
    const int byteCount =
        PutSyntheticHeader(buffer, kIcmpHeader + kIpv4Header + static_cast<int>(quoted), source,
                           details.ttl >= 0 ? details.ttl : kDefaultTtl);
    ReadDatagram(buffer, byteCount, source, details.ttl, details.stamp, got);
    return 0;
}

}  // namespace vigilon
