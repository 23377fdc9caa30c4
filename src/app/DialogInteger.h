#pragma once

#include <cstdint>
#include <string>

namespace vigilon::app {

// Reads a dialog's integer box: the first 31 characters, leading spaces and
// tabs skipped, an optionally signed decimal number clamped to the 32-bit
// range, then nothing but spaces and tabs. A number read as 0 from text
// that does not start with '0' is no number (empty, a lone sign, "-0").
// False, value untouched, when the text is not an integer.
bool ParseDialogInteger(const std::string& text, std::int32_t& value);

}  // namespace vigilon::app
