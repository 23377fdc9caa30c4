#pragma once

#include <cstdint>

#include "WallClock.h"

namespace vigilon::test {

class FakeClock : public WallClock {
public:
    explicit FakeClock(std::int64_t start = 1'000'000'000) : now(start) {}
    std::int64_t Now() override { return now; }
    std::int64_t now;
};

}  // namespace vigilon::test
