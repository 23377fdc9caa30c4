#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

inline constexpr const char* kTimedOut = "timed out";

// The one place that decides what a result means: only the line of an own
// echo reply, "N bytes from ADDR: ...", is an answer. A time-out, a name
// that does not resolve, a socket error and an ICMP error all count as not
// answering, each keeping its own text.
bool IsAnswer(const std::string& result);

// Adds 1 to counter and returns true when result is no answer.
bool IsTimedOut(std::int32_t& counter, const std::string& result);

// "ONLINE" for an answer, "OFFLINE" for anything else.
std::string StatusWord(const std::string& result);

}  // namespace vigilon
