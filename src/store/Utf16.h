#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vigilon {

// Converts UTF-16LE bytes (an even count) to UTF-8, the narrow encoding of
// this platform. Surrogate pairs are joined; a lone surrogate becomes U+FFFD
// so that a damaged text still loads.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace vigilon
