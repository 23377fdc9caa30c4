#pragma once

#include <linux/filter.h>

#include <cstddef>
#include <cstdint>
#include <optional>
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

// Runs program on packet as the kernel would, a load past the end dropping
// it: how many bytes the kernel would keep, 0 for none. Nothing for an
// instruction the echo filters do not use, or a program that runs off its
// end.
std::optional<std::uint32_t> RunBpf(const std::vector<sock_filter>& program,
                                    const std::uint8_t* packet, std::size_t size);

// An echo socket's kernel filter, attached when the first datagram it would
// drop comes in. Attaching has the kernel compile the program, which costs
// more than the rest of an exchange: a socket opened for one exchange on a
// quiet host never needs it, one amid others' echo traffic gets it at once.
// Until then the channel sorts out what is not its own, as it does anyway.
class LazySocketFilter {
public:
    void Prepare(std::vector<sock_filter> program) {
        program_ = std::move(program);
        attached_ = false;
        sent_ = false;
    }
    // Before the socket's first request: what is queued cannot be about it
    // and is thrown away; any of it means others' traffic, and the filter
    // is attached at once.
    void BeforeFirstSend(int fd);
    // bytes: a datagram as the filter sees it, just read from fd.
    void Note(int fd, const std::uint8_t* bytes, std::size_t size);

private:
    void Attach(int fd);

    std::vector<sock_filter> program_;
    bool attached_ = false;
    bool sent_ = false;
};

}  // namespace vigilon
