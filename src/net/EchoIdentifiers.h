#pragma once

#include <cstdint>

namespace vigilon {

// Low 16 bits of the process id: the monitor's probe's identifier.
std::uint16_t ProcessIdentifier();

// 16 bits that no one outside can guess or share: an identifier, or an
// offset to the sequence, that replies made up without seeing a request
// rarely carry. The clock and a counter only when the kernel has no random
// bytes to give yet.
std::uint16_t UnguessableNumber();

}  // namespace vigilon
