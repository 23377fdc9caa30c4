#pragma once

#include <ctime>

#include "WallClock.h"

namespace vigilon {

// The wall clock of the machine.
class SystemClock : public WallClock {
public:
    std::int64_t Now() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace vigilon
