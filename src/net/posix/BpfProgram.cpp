#include "BpfProgram.h"

#include <sys/socket.h>

#include "EchoSocketSteps.h"

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
    for (const std::size_t jump : toDrop)
        Patch(jump, drop);
    return code;
}

std::optional<std::uint32_t> RunBpf(const std::vector<sock_filter>& program,
                                    const std::uint8_t* packet, std::size_t size) {
    std::uint32_t a = 0;
    std::uint32_t x = 0;
    const auto byteAt = [&](std::uint32_t at, bool& ok) -> std::uint32_t {
        ok = at < size;
        return ok ? packet[at] : 0;
    };
    for (std::size_t pc = 0; pc < program.size(); ++pc) {
        const sock_filter& i = program[pc];
        bool ok = true;
        switch (i.code) {
            case BPF_LDX | BPF_B | BPF_MSH: x = (byteAt(i.k, ok) & 0x0F) * 4; break;
            case BPF_LDX | BPF_IMM: x = i.k; break;
            case BPF_LD | BPF_B | BPF_IND: a = byteAt(x + i.k, ok); break;
            case BPF_LD | BPF_H | BPF_IND: {
                bool second = true;
                a = byteAt(x + i.k, ok) << 8 | byteAt(x + i.k + 1, second);
                ok = ok && second;
                break;
            }
            case BPF_ALU | BPF_AND | BPF_K: a &= i.k; break;
            case BPF_ALU | BPF_LSH | BPF_K: a <<= i.k; break;
            case BPF_ALU | BPF_ADD | BPF_X: a += x; break;
            case BPF_MISC | BPF_TAX: x = a; break;
            case BPF_JMP | BPF_JEQ | BPF_K: pc += a == i.k ? i.jt : i.jf; break;
            case BPF_RET | BPF_K: return i.k;
            default: return std::nullopt;
        }
        if (!ok) return 0;
    }
    return std::nullopt;
}

void LazySocketFilter::BeforeFirstSend(int fd) {
    if (sent_ || program_.empty()) return;
    sent_ = true;
    if (DiscardQueued(fd) > 0) Attach(fd);
}

void LazySocketFilter::Note(int fd, const std::uint8_t* bytes, std::size_t size) {
    if (attached_ || program_.empty()) return;
    const std::optional<std::uint32_t> kept = RunBpf(program_, bytes, size);
    if (!kept || *kept == 0) Attach(fd);
}

void LazySocketFilter::Attach(int fd) {
    if (attached_) return;
    // Should the kernel refuse, the channel goes on sorting by itself.
    const sock_fprog filter{static_cast<unsigned short>(program_.size()), program_.data()};
    attached_ = setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter) == 0;
}

}  // namespace vigilon
