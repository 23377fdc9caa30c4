// Reading from an ICMPv6 socket: every message as both kinds give it, without
// the IP header, with the kernel's receive time and the hop limit.

#include <time.h>  // linux/errqueue.h uses timespec without declaring it

#include <linux/errqueue.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "ByteOrder.h"
#include "EchoSocketSteps.h"
#include "IcmpWire.h"
#include "Icmpv6Message.h"
#include "Icmpv6Wire.h"
#include "Ipv6EchoSocket.h"

namespace vigilon {

namespace {

struct Ancillary {
    const timespec* stamp = nullptr;
    int hopLimit = -1;
    const sock_extended_err* error = nullptr;
};

Ancillary ReadAncillary(msghdr& message) {
    Ancillary found;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMPNS)
            found.stamp = reinterpret_cast<const timespec*>(CMSG_DATA(c));
        else if (c->cmsg_level == IPPROTO_IPV6 && c->cmsg_type == IPV6_HOPLIMIT)
            std::memcpy(&found.hopLimit, CMSG_DATA(c), sizeof found.hopLimit);
        else if (c->cmsg_level == IPPROTO_IPV6 && c->cmsg_type == IPV6_RECVERR)
            found.error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
    }
    return found;
}

// One recvmsg into part, with the sender's (or for an error report, the
// request's destination) address and the ancillary data.
struct Received {
    ssize_t bytes = -1;
    sockaddr_in6 address{};
    alignas(cmsghdr) char control[256];
    msghdr header{};
};

void ReceiveInto(int fd, iovec part, int flags, Received& into) {
    into.header.msg_name = &into.address;
    into.header.msg_namelen = sizeof into.address;
    into.header.msg_iov = &part;
    into.header.msg_iovlen = 1;
    into.header.msg_control = into.control;
    into.header.msg_controllen = sizeof into.control;
    into.bytes = recvmsg(fd, &into.header, flags | MSG_DONTWAIT);
}

void ReadMessage(const std::uint8_t* message, int byteCount, const in6_addr& source,
                 const Ancillary& details, ReceivedEcho& got) {
    got = ReadIcmpv6Message(message, byteCount, IpAddress::V6(source));
    got.ttl = details.hopLimit;
    got.receivedAtUs = ArrivalUs(details.stamp);
}

}  // namespace

int Ipv6EchoSocket::Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    if (errorsQueued) {
        const int error = ReceiveError(buffer, size, got);
        if (error != EAGAIN) return error;
    }
    Received received;
    ReceiveInto(fd.Get(), {buffer, static_cast<size_t>(size)}, 0, received);
    if (received.bytes < 0) {
        // An error report raises the socket's error as well; it is read from
        // the queue, or was already.
        if (errorsQueued && errno != EINTR && errno != EAGAIN)
            return ReceiveError(buffer, size, got);
        return errno;
    }
    if (!datagram) filter.Note(fd.Get(), buffer, static_cast<std::size_t>(received.bytes));
    ReadMessage(buffer, static_cast<int>(received.bytes), received.address.sin6_addr,
                ReadAncillary(received.header), got);
    return 0;
}

int Ipv6EchoSocket::ReceiveError(std::uint8_t* buffer, int size, ReceivedEcho& got) {
    // Room for the error's header and the quoted IPv6 header in front of the
    // quoted message.
    constexpr int quotedAt = kIcmpHeader + kIpv6Header;
    Received received;
    ReceiveInto(fd.Get(), {buffer + quotedAt, static_cast<size_t>(size - quotedAt)}, MSG_ERRQUEUE,
                received);
    if (received.bytes < 0) return errno;

    const Ancillary details = ReadAncillary(received.header);
    got = ReceivedEcho{};
    // Local reports (a refused send) are given to the sender already.
    if (details.error == nullptr || details.error->ee_origin != SO_EE_ORIGIN_ICMP6) return 0;
    const sock_extended_err& report = *details.error;
    const auto* offender = reinterpret_cast<const sockaddr_in6*>(SO_EE_OFFENDER(&report));
    in6_addr source{};
    if (offender->sin6_family == AF_INET6) source = offender->sin6_addr;

    std::memset(buffer, 0, quotedAt);
    buffer[0] = report.ee_type;
    buffer[1] = report.ee_code;
    if (report.ee_type == icmp6::kPacketTooBig || report.ee_type == icmp6::kParameterProblem) {
        StoreBe16(buffer + 4, static_cast<std::uint16_t>(report.ee_info >> 16));
        StoreBe16(buffer + 6, static_cast<std::uint16_t>(report.ee_info));
    }
    std::uint8_t* quotedIp = buffer + kIcmpHeader;
    quotedIp[0] = 0x60;  // version 6
    StoreBe16(quotedIp + ip6::kPayloadLengthAt, static_cast<std::uint16_t>(received.bytes));
    quotedIp[ip6::kNextHeaderAt] = icmp6::kNextHeader;
    std::memcpy(quotedIp + ip6::kDestinationAt, &received.address.sin6_addr, sizeof(in6_addr));
    ReadMessage(buffer, quotedAt + static_cast<int>(received.bytes), source, details, got);
    return 0;
}

}  // namespace vigilon
