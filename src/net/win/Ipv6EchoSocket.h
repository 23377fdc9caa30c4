#pragma once

#include <cstdint>

#include "IcmpEchoSocket.h"

namespace vigilon {

// Windows' echo for IPv6: Icmp6SendEcho2. Windows tells neither the IP
// header (taken as IPv6's fixed 40 bytes) nor the hop limit of what
// answered.
class Ipv6EchoSocket : public IcmpEchoSocket {
public:
    std::uint8_t RequestType() const override { return 128; }

protected:
    void* CreateHandle() override;
    unsigned long SendEcho(void* handle, IcmpRequest& request) override;
    void Read(const IcmpRequest& request, std::uint8_t* buffer, int size,
              ReceivedEcho& got) override;
};

// What Icmp6SendEcho2 writes in front of an answer's data: ICMPV6_ECHO_REPLY,
// which mingw-w64's headers lack. Its address is Windows' packed
// IPV6_ADDRESS_EX (26 bytes), written out in bytes here for that reason.
struct Icmpv6EchoReplyHead {
    std::uint8_t port[2];
    std::uint8_t flowInfo[4];
    std::uint8_t address[16];  // network byte order
    std::uint8_t scopeId[4];
    std::uint32_t status;  // an IP_STATUS code
    std::uint32_t roundTripTimeMs;
};
static_assert(sizeof(Icmpv6EchoReplyHead) == 36);

// Reads request's replies buffer, as Icmp6SendEcho2 left it, into the
// ICMPv6 message it stands for, laid out in buffer: an echo reply that
// carries the request's header and the data that came back, or the error
// a status reports, quoting an IPv6 header to the destination and the
// request. got then reads as an ICMPv6 socket's message on Linux; it stays
// Nothing for a time-out or a failure of Windows' own.
void ReadIcmpv6EchoReply(const IcmpRequest& request, std::uint8_t* buffer, int size,
                         ReceivedEcho& got);

}  // namespace vigilon
