#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// The one probe result that counts as a time-out; every other text, failures
// included, counts as an answer.
inline constexpr const char* kTimedOut = "timed out";

// Adds 1 to counter and returns true when result is exactly "timed out".
bool IsTimedOut(std::int32_t& counter, const std::string& result);

// "OFFLINE" for "timed out", "ONLINE" for anything else.
std::string StatusWord(const std::string& result);

}  // namespace vigilon
