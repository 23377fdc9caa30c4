#include "RunningTime.h"

#include <cstdio>

namespace vigilon {

std::string FormatRunningTime(std::int64_t elapsedSeconds) {
    const std::int64_t seconds = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    char text[80];
    std::snprintf(text, sizeof text, "Days: %lld     Hours: %02d:%02d:%02d",
                  static_cast<long long>(seconds / 86400), static_cast<int>(seconds % 86400 / 3600),
                  static_cast<int>(seconds % 3600 / 60), static_cast<int>(seconds % 60));
    return text;
}

}  // namespace vigilon
