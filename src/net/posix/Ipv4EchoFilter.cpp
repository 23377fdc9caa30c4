#include "Ipv4EchoFilter.h"

#include "BpfProgram.h"
#include "IcmpWire.h"

namespace vigilon {

std::vector<sock_filter> Ipv4EchoFilter(const EchoAdmission& admission) {
    BpfProgram program;
    // X: the IP header's length.
    program.Add(BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0));
    program.Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0));
    if (!admission.errors) {
        program.RequireEqual(icmp4::kEchoReply);
        program.KeepEcho(0, admission);
        return program.Finish();
    }
    const std::size_t notReply = program.JumpUnless(icmp4::kEchoReply);
    program.KeepEcho(0, admission);
    program.Land(notReply);
    // An error: its own header, then the quoted IP header, whose length X
    // takes on; the quoted message then starts at X + kIcmpHeader.
    program.Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, kIcmpHeader));
    program.Add(BPF_STMT(BPF_ALU | BPF_AND | BPF_K, 0x0F));
    program.Add(BPF_STMT(BPF_ALU | BPF_LSH | BPF_K, 2));
    program.Add(BPF_STMT(BPF_ALU | BPF_ADD | BPF_X, 0));
    program.Add(BPF_STMT(BPF_MISC | BPF_TAX, 0));
    program.RequireByte(kIcmpHeader, icmp4::kEchoRequest);
    program.KeepEcho(kIcmpHeader, admission);
    return program.Finish();
}

}  // namespace vigilon
