#pragma once

#include <wx/timer.h>

#include <functional>

#include "MonitorPorts.h"

namespace vigilon::app {

// The pause after an answered cycle as a one-shot timer: the window goes on
// answering meanwhile. A pause asked for while one is pending replaces it.
class WxPause : public Pause, private wxTimer {
public:
    WxPause() = default;
    ~WxPause() override { Stop(); }

    void After(std::uint32_t milliseconds, std::function<void()> then) override {
        then_ = std::move(then);
        StartOnce(static_cast<int>(milliseconds));
    }

private:
    void Notify() override {
        if (std::function<void()> then = std::exchange(then_, nullptr)) then();
    }

    std::function<void()> then_;
};

}  // namespace vigilon::app
