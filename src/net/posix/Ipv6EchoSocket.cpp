#include "Ipv6EchoSocket.h"

#include <arpa/inet.h>
#include <netinet/icmp6.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <cerrno>

#include "EchoSocketSteps.h"
#include "Icmpv6Wire.h"
#include "Ipv6EchoFilter.h"

namespace vigilon {

namespace {

// The kernel's receive time of each message and the hop limit it arrived
// with; without them the times are taken on reading and the hop limit stays
// unknown.
void AskForArrivalDetails(int fd) {
    AskForArrivalStamps(fd);
    const int on = 1;
    setsockopt(fd, IPPROTO_IPV6, IPV6_RECVHOPLIMIT, &on, sizeof on);
}

icmp6_filter AdmittedTypes(bool errors) {
    icmp6_filter types{};
    ICMP6_FILTER_SETBLOCKALL(&types);
    ICMP6_FILTER_SETPASS(icmp6::kEchoReply, &types);
    if (errors) {
        ICMP6_FILTER_SETPASS(icmp6::kUnreachable, &types);
        ICMP6_FILTER_SETPASS(icmp6::kPacketTooBig, &types);
        ICMP6_FILTER_SETPASS(icmp6::kTimeExceeded, &types);
        ICMP6_FILTER_SETPASS(icmp6::kParameterProblem, &types);
    }
    return types;
}

}  // namespace

int Ipv6EchoSocket::Open() {
    fd = UniqueFd(socket(AF_INET6, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    if (fd) {
        AskForArrivalDetails(fd.Get());
        return 0;
    }
    if (errno != EPERM && errno != EACCES) return errno;

    fd = UniqueFd(socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    if (!fd) return errno;
    datagram = true;
    // The kernel picks the identifier when the socket is bound; sendto would
    // bind it implicitly, binding now lets us read it before the send.
    sockaddr_in6 local{};
    local.sin6_family = AF_INET6;
    socklen_t length = sizeof local;
    if (bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        const int error = errno;
        fd.Close();
        return error;
    }
    kernelIdentifier = ntohs(local.sin6_port);
    AskForArrivalDetails(fd.Get());
    return 0;
}

std::optional<std::uint16_t> Ipv6EchoSocket::SystemIdentifier() const {
    if (!datagram) return std::nullopt;
    return kernelIdentifier;
}

std::uint8_t Ipv6EchoSocket::RequestType() const { return icmp6::kEchoRequest; }

int Ipv6EchoSocket::Admit(const EchoAdmission& admission) {
    if (datagram) {
        if (!admission.errors) return 0;
        const int on = 1;
        if (setsockopt(fd.Get(), IPPROTO_IPV6, IPV6_RECVERR, &on, sizeof on) != 0) return errno;
        errorsQueued = true;
        return 0;
    }
    // Every ICMPv6 message of the host reaches a raw socket, neighbour
    // discovery included: the type filter drops all but what we read before
    // they are queued, the socket filter (once needed) what is not about our
    // requests.
    const icmp6_filter types = AdmittedTypes(admission.errors);
    if (setsockopt(fd.Get(), IPPROTO_ICMPV6, ICMP6_FILTER, &types, sizeof types) != 0) return errno;
    filter.Prepare(Ipv6EchoFilter(admission));
    return 0;
}

int Ipv6EchoSocket::LimitSendWait(std::uint32_t milliseconds) {
    if (const int error = SetSendWait(fd.Get(), milliseconds)) return error;
    sendWaits = true;
    return 0;
}

int Ipv6EchoSocket::Send(const std::vector<std::uint8_t>& message, const IpAddress& to) {
    if (to.Family() != IpFamily::V6) return EAFNOSUPPORT;
    if (message.size() < 4) return EINVAL;
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = to.ToV6();
    // The kernel sums the message with the addresses it picks into the
    // checksum (RFC 4443): it goes out as zero, the message otherwise as built.
    std::uint8_t head[4] = {message[0], message[1], 0, 0};
    iovec parts[2] = {{head, sizeof head},
                      {const_cast<std::uint8_t*>(message.data()) + 4, message.size() - 4}};
    msghdr datagramOut{};
    datagramOut.msg_name = &address;
    datagramOut.msg_namelen = sizeof address;
    datagramOut.msg_iov = parts;
    datagramOut.msg_iovlen = 2;
    if (!datagram) filter.BeforeFirstSend(fd.Get());
    if (sendmsg(fd.Get(), &datagramOut, sendWaits ? 0 : MSG_DONTWAIT) < 0) return errno;
    return 0;
}

SocketWait Ipv6EchoSocket::Wait(std::int64_t deadlineUs, WakeHandle wake) {
    return WaitToRead(fd.Get(), deadlineUs, wake);
}

}  // namespace vigilon
