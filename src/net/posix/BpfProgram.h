#pragma once

#include <linux/filter.h>

#include <cstdint>
#include <vector>

#include "EchoSocket.h"

namespace vigilon {

// A classic BPF program for an echo socket's kernel filter, built check by
// check. Jumps are relative and forward only: each check's "else" is
// patched to the drop at the end, or to a branch, once their places are
// known. Loads are relative to X, which starts at 0.
class BpfProgram {
public:
    void Add(sock_filter instruction) { code.push_back(instruction); }
    // Falls through when the two bytes at offset (from X) equal value.
    void RequireHalfword(std::uint32_t offset, std::uint16_t value);
    void RequireByte(std::uint32_t offset, std::uint8_t value);
    // Falls through when A equals value; returns the jump to patch.
    std::size_t JumpUnless(std::uint32_t value);
    void RequireEqual(std::uint32_t value) { toDrop.push_back(JumpUnless(value)); }
    // The jump's "else" leads here.
    void Land(std::size_t jump) { Patch(jump, code.size()); }
    // Keeps the packet when the echo message at X + at carries the admitted
    // identifier (and sequence).
    void KeepEcho(std::uint32_t at, const EchoAdmission& admission);

    std::vector<sock_filter> Finish();

private:
    void Patch(std::size_t jump, std::size_t target) {
        code[jump].jf = static_cast<std::uint8_t>(target - jump - 1);
    }

    std::vector<sock_filter> code;
    std::vector<std::size_t> toDrop;
};

}  // namespace vigilon
