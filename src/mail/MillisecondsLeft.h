#pragma once

#include <chrono>

namespace vigilon {

// Milliseconds left until deadline, for poll and WSAPoll, rounded up so
// that a wait never ends before it; 0 once it has passed.
inline int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return 0;
    if (left.count() > 1'000'000'000) return 1'000'000'000;
    return static_cast<int>(left.count());
}

}  // namespace vigilon
