#pragma once

#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "EventLoop.h"
#include "MonitorPorts.h"

namespace vigilon {

// The engine's three timers on an event loop: fired hands the id on.
class LoopTimers : public Timers {
public:
    LoopTimers(EventLoop& loop, const std::function<void(int timerId)>& fired) {
        for (std::size_t i = 0; i < kIds.size(); ++i)
            timers_[i] = std::make_unique<LoopTimer>(loop, [fired, id = kIds[i]] { fired(id); });
    }
    void Arm(int timerId, std::uint32_t periodMs) override {
        if (LoopTimer* timer = Find(timerId)) timer->Start(periodMs);
    }
    void Stop(int timerId) override {
        if (LoopTimer* timer = Find(timerId)) timer->Stop();
    }

private:
    static constexpr std::array<int, 3> kIds{TIMER_PING, TIMER_CLOCK, TIMER_TRAY};
    LoopTimer* Find(int timerId) {
        for (std::size_t i = 0; i < kIds.size(); ++i)
            if (kIds[i] == timerId) return timers_[i].get();
        return nullptr;
    }
    std::array<std::unique_ptr<LoopTimer>, 3> timers_;
};

// The pause after an answered cycle as a one-shot timer on the loop; a
// pause asked for while one is pending replaces it.
class LoopPause : public Pause {
public:
    explicit LoopPause(EventLoop& loop)
        : timer_(loop, [this] {
              if (std::function<void()> then = std::exchange(then_, nullptr)) then();
          }) {}
    void After(std::uint32_t milliseconds, std::function<void()> then) override {
        then_ = std::move(then);
        timer_.Start(milliseconds, false);
    }

private:
    std::function<void()> then_;
    LoopTimer timer_;
};

}  // namespace vigilon
