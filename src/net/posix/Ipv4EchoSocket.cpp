#include "Ipv4EchoSocket.h"

#include <arpa/inet.h>
#include <linux/icmp.h>
#include <sys/socket.h>

#include <cerrno>

#include "EchoSocketSteps.h"
#include "IcmpWire.h"
#include "Ipv4EchoFilter.h"

namespace vigilon {

namespace {

// The kernel's receive time of each datagram, and for the datagram kind,
// which strips the IP header, its time to live. Without them the times are
// taken on reading and the time to live stays unknown.
void AskForArrivalDetails(int fd, bool datagram) {
    AskForArrivalStamps(fd);
    const int on = 1;
    if (datagram) setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
}

unsigned AdmittedTypes(bool errors) {
    unsigned admitted = 1U << ICMP_ECHOREPLY;
    if (errors)
        admitted |= (1U << ICMP_DEST_UNREACH) | (1U << ICMP_SOURCE_QUENCH) | (1U << ICMP_REDIRECT) |
                    (1U << ICMP_TIME_EXCEEDED) | (1U << ICMP_PARAMETERPROB);
    return admitted;
}

}  // namespace

int Ipv4EchoSocket::Open() {
    fd = UniqueFd(socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (fd) {
        AskForArrivalDetails(fd.Get(), false);
        return 0;
    }
    if (errno != EPERM && errno != EACCES) return errno;

    fd = UniqueFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (!fd) return errno;
    datagram = true;
    // The kernel picks the identifier when the socket is bound; sendto would
    // bind it implicitly, binding now lets us read it before the send.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    socklen_t length = sizeof local;
    if (bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        const int error = errno;
        fd.Close();
        return error;
    }
    kernelIdentifier = ntohs(local.sin_port);
    AskForArrivalDetails(fd.Get(), true);
    return 0;
}

std::optional<std::uint16_t> Ipv4EchoSocket::SystemIdentifier() const {
    if (!datagram) return std::nullopt;
    return kernelIdentifier;
}

std::uint8_t Ipv4EchoSocket::RequestType() const { return icmp4::kEchoRequest; }

int Ipv4EchoSocket::Admit(const EchoAdmission& admission) {
    if (datagram) {
        if (!admission.errors) return 0;
        const int on = 1;
        if (setsockopt(fd.Get(), IPPROTO_IP, IP_RECVERR, &on, sizeof on) != 0) return errno;
        errorsQueued = true;
        return 0;
    }
    // Every ICMP datagram of the host reaches a raw socket: the type filter
    // drops the others' requests (and errors, unless wanted) before they are
    // queued, the socket filter (once needed) what is not about our requests.
    icmp_filter types{~AdmittedTypes(admission.errors)};
    if (setsockopt(fd.Get(), SOL_RAW, ICMP_FILTER, &types, sizeof types) != 0) return errno;
    filter.Prepare(Ipv4EchoFilter(admission));
    return 0;
}

int Ipv4EchoSocket::LimitSendWait(std::uint32_t milliseconds) {
    if (const int error = SetSendWait(fd.Get(), milliseconds)) return error;
    sendWaits = true;
    return 0;
}

int Ipv4EchoSocket::Send(const std::vector<std::uint8_t>& message, const IpAddress& to) {
    if (to.Family() != IpFamily::V4) return EAFNOSUPPORT;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr = to.ToV4();
    if (!datagram) filter.BeforeFirstSend(fd.Get());
    if (sendto(fd.Get(), message.data(), message.size(), sendWaits ? 0 : MSG_DONTWAIT,
               reinterpret_cast<sockaddr*>(&address), sizeof address) < 0)
        return errno;
    return 0;
}

SocketWait Ipv4EchoSocket::Wait(std::int64_t deadlineUs, WakeHandle wake) {
    return WaitToRead(fd.Get(), deadlineUs, wake);
}

}  // namespace vigilon
