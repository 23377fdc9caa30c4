#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vigilon {

// Writes all of bytes to fd, however the kernel splits the writes. Returns
// 0, or the errno that stopped it; a write that takes nothing (a full disk)
// is ENOSPC.
int WriteAll(int fd, std::span<const std::uint8_t> bytes);
int WriteAll(int fd, const std::string& text);

}  // namespace vigilon
