#pragma once

#include <ctime>

namespace vigilon {

// A moment as the local clock shows it, with the zone's distance from UTC
// at that moment (summer time included), for the log's stamps and the
// mail's Date header. One file per platform: posix/ and win/.
struct LocalTime {
    std::tm fields{};
    long utcOffsetSeconds = 0;
};

// False when the moment cannot be shown in the local zone.
bool ToLocalTime(std::time_t when, LocalTime& local);

}  // namespace vigilon
