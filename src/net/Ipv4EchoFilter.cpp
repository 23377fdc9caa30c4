#include "Ipv4EchoFilter.h"

#include "IcmpWire.h"

namespace vigilon {

namespace {

constexpr std::uint32_t kKeep = 0xFFFF;

// Jumps are relative and forward only: each check's "else" is patched to
// the drop at the end, or to the error branch, once their places are known.
class Program {
public:
    void Add(sock_filter instruction) { code.push_back(instruction); }
    // Falls through when the two bytes at offset (from X) equal value.
    void RequireHalfword(std::uint32_t offset, std::uint16_t value) {
        Add(BPF_STMT(BPF_LD | BPF_H | BPF_IND, offset));
        RequireEqual(value);
    }
    void RequireByte(std::uint32_t offset, std::uint8_t value) {
        Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, offset));
        RequireEqual(value);
    }
    // Falls through when A equals value; returns the jump to patch.
    std::size_t JumpUnless(std::uint32_t value) {
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, value, 0, 0));
        return code.size() - 1;
    }
    void RequireEqual(std::uint32_t value) { toDrop.push_back(JumpUnless(value)); }
    void Land(std::size_t jump) { Patch(jump, code.size()); }

    std::vector<sock_filter> Finish() {
        const std::size_t drop = code.size();
        Add(BPF_STMT(BPF_RET | BPF_K, 0));
        for (const std::size_t jump : toDrop) Patch(jump, drop);
        return code;
    }

private:
    void Patch(std::size_t jump, std::size_t target) {
        code[jump].jf = static_cast<std::uint8_t>(target - jump - 1);
    }

    std::vector<sock_filter> code;
    std::vector<std::size_t> toDrop;
};

// Identifier and sequence of an echo message that starts at X + at.
void RequireEcho(Program& program, std::uint32_t at, const EchoAdmission& admission) {
    program.RequireHalfword(at + 4, admission.identifier);
    if (admission.sequence) program.RequireHalfword(at + 6, *admission.sequence);
    program.Add(BPF_STMT(BPF_RET | BPF_K, kKeep));
}

}  // namespace

std::vector<sock_filter> Ipv4EchoFilter(const EchoAdmission& admission) {
    Program program;
    // X: the IP header's length.
    program.Add(BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0));
    program.Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0));
    if (!admission.errors) {
        program.RequireEqual(icmp4::kEchoReply);
        RequireEcho(program, 0, admission);
        return program.Finish();
    }
    const std::size_t notReply = program.JumpUnless(icmp4::kEchoReply);
    RequireEcho(program, 0, admission);
    program.Land(notReply);
    // An error: its own header, then the quoted IP header, whose length X
    // takes on; the quoted message then starts at X + kIcmpHeader.
    program.Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, kIcmpHeader));
    program.Add(BPF_STMT(BPF_ALU | BPF_AND | BPF_K, 0x0F));
    program.Add(BPF_STMT(BPF_ALU | BPF_LSH | BPF_K, 2));
    program.Add(BPF_STMT(BPF_ALU | BPF_ADD | BPF_X, 0));
    program.Add(BPF_STMT(BPF_MISC | BPF_TAX, 0));
    program.RequireByte(kIcmpHeader, icmp4::kEchoRequest);
    RequireEcho(program, kIcmpHeader, admission);
    return program.Finish();
}

}  // namespace vigilon
