#pragma once

// A small interpreter of the classic BPF instructions the echo sockets'
// kernel filters use, for tests that run them on packets.

#include <gtest/gtest.h>
#include <linux/filter.h>

#include <cstdint>
#include <vector>

namespace vigilon::test {

// Runs program on packet as the kernel would; a load past the end drops it.
inline std::uint32_t RunFilter(const std::vector<sock_filter>& program,
                               const std::vector<std::uint8_t>& packet) {
    std::uint32_t a = 0;
    std::uint32_t x = 0;
    const auto byteAt = [&](std::uint32_t at, bool& ok) -> std::uint32_t {
        ok = at < packet.size();
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
            default: ADD_FAILURE() << "instruction " << i.code << " not interpreted"; return 0;
        }
        if (!ok) return 0;
    }
    ADD_FAILURE() << "the program ran off its end";
    return 0;
}

}  // namespace vigilon::test
