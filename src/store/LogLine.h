#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

inline constexpr const char* kLogFileName = "Vigilon.log";

// One log entry as it goes into the file: the local time of secondsSince1970
// as "%m/%d/%y %H:%M:%S", a space, the message with every "\n" turned into
// CR LF, and a closing CR LF.
std::string FormatLogLine(std::int64_t secondsSince1970, const std::string& message);

}  // namespace vigilon
