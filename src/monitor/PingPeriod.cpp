#include "PingPeriod.h"

#include <limits>

namespace vigilon {

std::int32_t PingPeriodSeconds(std::int32_t pingFrequency) {
    constexpr std::int32_t longest = std::numeric_limits<std::int32_t>::max() / 1000;
    if (pingFrequency < 1) return 1;
    if (pingFrequency > longest) return longest;
    return pingFrequency;
}

}  // namespace vigilon
