#include "Ipv6EchoFilter.h"

#include "BpfProgram.h"
#include "IcmpWire.h"
#include "Icmpv6Wire.h"

namespace vigilon {

std::vector<sock_filter> Ipv6EchoFilter(const EchoAdmission& admission) {
    BpfProgram program;
    // The message starts the packet: every load is at a fixed place.
    program.Add(BPF_STMT(BPF_LDX | BPF_IMM, 0));
    program.Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0));
    if (!admission.errors) {
        program.RequireEqual(icmp6::kEchoReply);
        program.KeepEcho(0, admission);
        return program.Finish();
    }
    const std::size_t notReply = program.JumpUnless(icmp6::kEchoReply);
    program.KeepEcho(0, admission);
    program.Land(notReply);
    // An error: its own header, the quoted IPv6 header, which carried ICMPv6
    // with no extension header in between, then the quoted request.
    constexpr std::uint32_t quotedAt = kIcmpHeader + kIpv6Header;
    program.RequireByte(kIcmpHeader + ip6::kNextHeaderAt, icmp6::kNextHeader);
    program.RequireByte(quotedAt, icmp6::kEchoRequest);
    program.KeepEcho(quotedAt, admission);
    return program.Finish();
}

}  // namespace vigilon
