#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// "Days: %D     Hours: %H:%M:%S" for a running time in seconds. A negative
// time (the wall clock was set back before the run started) shows as zero.
std::string FormatRunningTime(std::int64_t elapsedSeconds);

}  // namespace vigilon
