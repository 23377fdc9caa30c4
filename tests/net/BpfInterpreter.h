#pragma once

// The echo sockets' kernel filters run on packets by the same interpreter
// that decides when a socket needs its filter (RunBpf), for tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "BpfProgram.h"

namespace vigilon::test {

// Runs program on packet as the kernel would; a load past the end drops it.
inline std::uint32_t RunFilter(const std::vector<sock_filter>& program,
                               const std::vector<std::uint8_t>& packet) {
    const std::optional<std::uint32_t> kept = RunBpf(program, packet.data(), packet.size());
    if (!kept) ADD_FAILURE() << "an instruction not interpreted, or the program ran off its end";
    return kept.value_or(0);
}

}  // namespace vigilon::test
