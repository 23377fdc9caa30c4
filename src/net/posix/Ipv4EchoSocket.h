#pragma once

#include <netinet/in.h>

#include "BpfProgram.h"
#include "EchoSocket.h"
#include "UniqueFd.h"

namespace vigilon {

// Linux's ICMP sockets for IPv4. A raw socket needs root or CAP_NET_RAW;
// without them Linux offers a datagram ICMP socket to the groups listed in
// net.ipv4.ping_group_range, which picks the requests' identifier itself.
// Every message is handed over as the raw kind reads it, IP header first.
class Ipv4EchoSocket : public EchoSocket {
public:
    int Open() override;
    bool Unprivileged() const override { return datagram; }
    std::optional<std::uint16_t> SystemIdentifier() const override;
    std::uint8_t RequestType() const override;
    // The raw kind: the ICMP type filter and a socket filter. The datagram
    // kind gets only replies to its own identifier anyway, and for errors
    // queues them apart (IP_RECVERR).
    int Admit(const EchoAdmission& admission) override;
    int LimitSendWait(std::uint32_t milliseconds) override;
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override;
    SocketWait Wait(std::int64_t deadlineUs, WakeHandle wake) override;
    // The datagram kind's messages get a synthetic IP header, and its queued
    // error reports come dressed as the ICMP error a raw socket reads: outer
    // header from the router, the error's header, the quoted IP header (to
    // the destination) and the quoted message.
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override;

private:
    int ReceiveError(std::uint8_t* buffer, int size, ReceivedEcho& got);

    UniqueFd fd;
    LazySocketFilter filter;  // the raw kind's
    bool datagram = false;
    bool errorsQueued = false;  // the datagram kind with IP_RECVERR
    bool sendWaits = false;
    std::uint16_t kernelIdentifier = 0;
};

// Writes a kIpv4Header-byte IPv4 header from source with the given time to
// live in front of the ICMP message of icmpBytes at buffer + kIpv4Header.
// Returns the whole datagram's length.
int PutSyntheticHeader(std::uint8_t* buffer, int icmpBytes, in_addr source, int ttl);

}  // namespace vigilon
