#include "RetrySchedule.h"

#include <algorithm>

namespace vigilon {

std::chrono::milliseconds RetrySchedule::After(int failedRounds) const {
    std::chrono::milliseconds wait = first;
    // Doubled step by step and stopped at the cap, so no count of rounds overflows it.
    for (int round = 1; round < failedRounds && wait > wait.zero() && wait < longest; ++round)
        wait *= 2;
    return std::min(wait, longest);
}

}  // namespace vigilon
