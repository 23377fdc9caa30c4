#pragma once

#include <chrono>
#include <ctime>
#include <thread>

#include "MonitorPorts.h"
#include "WallClock.h"

namespace vigilon {

// The wall clock of the machine.
class SystemClock : public WallClock {
public:
    std::int64_t Now() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

// The pause after an answered cycle blocks the window, as the cycle's timing
// expects.
class BlockingPause : public Pause {
public:
    void Wait(std::uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace vigilon
