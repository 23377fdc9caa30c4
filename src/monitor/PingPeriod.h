#pragma once

#include <cstdint>

namespace vigilon {

// The pause between cycles after a time-out.
inline constexpr std::uint32_t kTimeoutPeriodMs = 5000;
inline constexpr std::int32_t kTimeoutPeriodSeconds = 5;

// The ping period in whole seconds for a stored frequency. The settings file
// may hold values the settings dialog would refuse; they are used as stored
// except that a frequency below one second waits one second (never probe
// without pause) and one whose milliseconds exceed a timer's signed 32-bit
// count waits the longest period a timer can hold.
std::int32_t PingPeriodSeconds(std::int32_t pingFrequency);

inline std::uint32_t PingPeriodMs(std::int32_t pingFrequency) {
    return static_cast<std::uint32_t>(PingPeriodSeconds(pingFrequency)) * 1000u;
}

}  // namespace vigilon
