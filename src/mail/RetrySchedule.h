#pragma once

#include <chrono>

namespace vigilon {

// How long mail waits after rounds that no server accepted: first after
// the first, then twice as long after each further one, never longer than
// longest. A server that is down for hours is then asked a few times an
// hour, and one that was down for a moment soon after it is back.
struct RetrySchedule {
    std::chrono::milliseconds first{30'000};
    std::chrono::milliseconds longest{600'000};

    // The wait after failedRounds rounds in a row failed (1 for the first).
    std::chrono::milliseconds After(int failedRounds) const;
};

}  // namespace vigilon
