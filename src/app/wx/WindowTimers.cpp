#include "WindowTimers.h"

#include <limits>

namespace vigilon::app {

WindowTimers::WindowTimers(wxEvtHandler* owner) {
    timers_[0].SetOwner(owner, TIMER_PING);
    timers_[1].SetOwner(owner, TIMER_CLOCK);
    timers_[2].SetOwner(owner, TIMER_TRAY);
}

wxTimer* WindowTimers::Find(int timerId) {
    for (wxTimer& timer : timers_)
        if (timer.GetId() == timerId) return &timer;
    return nullptr;
}

void WindowTimers::Arm(int timerId, std::uint32_t periodMs) {
    wxTimer* timer = Find(timerId);
    if (timer == nullptr) return;
    // The engine never asks for more than a signed 32-bit count; clamp all
    // the same, and never less than a millisecond.
    const std::uint32_t longest = std::numeric_limits<int>::max();
    const int period =
        static_cast<int>(periodMs == 0 ? 1 : (periodMs > longest ? longest : periodMs));
    timer->Start(period, wxTIMER_CONTINUOUS);
}

void WindowTimers::Stop(int timerId) {
    if (wxTimer* timer = Find(timerId)) timer->Stop();
}

void WindowTimers::StopAll() {
    for (wxTimer& timer : timers_)
        timer.Stop();
}

}  // namespace vigilon::app
