#include "BpfProgram.h"

namespace vigilon {

namespace {
constexpr std::uint32_t kKeep = 0xFFFF;
}

void BpfProgram::RequireHalfword(std::uint32_t offset, std::uint16_t value) {
    Add(BPF_STMT(BPF_LD | BPF_H | BPF_IND, offset));
    RequireEqual(value);
}

void BpfProgram::RequireByte(std::uint32_t offset, std::uint8_t value) {
    Add(BPF_STMT(BPF_LD | BPF_B | BPF_IND, offset));
    RequireEqual(value);
}

std::size_t BpfProgram::JumpUnless(std::uint32_t value) {
    Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, value, 0, 0));
    return code.size() - 1;
}

void BpfProgram::KeepEcho(std::uint32_t at, const EchoAdmission& admission) {
    RequireHalfword(at + 4, admission.identifier);
    if (admission.sequence) RequireHalfword(at + 6, *admission.sequence);
    Add(BPF_STMT(BPF_RET | BPF_K, kKeep));
}

std::vector<sock_filter> BpfProgram::Finish() {
    const std::size_t drop = code.size();
    Add(BPF_STMT(BPF_RET | BPF_K, 0));
    for (const std::size_t jump : toDrop) Patch(jump, drop);
    return code;
}

}  // namespace vigilon
