#pragma once

#include "BpfProgram.h"
#include "EchoSocket.h"
#include "UniqueFd.h"

namespace vigilon {

// Linux's ICMPv6 sockets. A raw socket needs root or CAP_NET_RAW; without
// them Linux offers a datagram ICMPv6 socket to the groups listed in
// net.ipv4.ping_group_range (for both families), which picks the requests'
// identifier itself. Either kind hands over the ICMPv6 message without its
// IP header, and fills in the checksum, which covers the addresses too.
class Ipv6EchoSocket : public EchoSocket {
public:
    int Open() override;
    bool Unprivileged() const override { return datagram; }
    std::optional<std::uint16_t> SystemIdentifier() const override;
    std::uint8_t RequestType() const override;
    // The raw kind: the ICMPv6 type filter and a socket filter. The datagram
    // kind gets only replies to its own identifier anyway, and for errors
    // queues them apart (IPV6_RECVERR).
    int Admit(const EchoAdmission& admission) override;
    int LimitSendWait(std::uint32_t milliseconds) override;
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override;
    SocketWait Wait(std::int64_t deadlineUs, WakeHandle wake) override;
    // The datagram kind's queued error reports come dressed as the ICMPv6
    // error a raw socket reads: the error's header, the quoted IPv6 header
    // (to the destination) and the quoted message.
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override;

private:
    int ReceiveError(std::uint8_t* buffer, int size, ReceivedEcho& got);

    UniqueFd fd;
    LazySocketFilter filter;  // the raw kind's
    bool datagram = false;
    bool errorsQueued = false;  // the datagram kind with IPV6_RECVERR
    bool sendWaits = false;
    std::uint16_t kernelIdentifier = 0;
};

}  // namespace vigilon
