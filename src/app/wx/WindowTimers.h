#pragma once

#include <array>

#include <wx/timer.h>

#include "MonitorPorts.h"

namespace vigilon::app {

// The main window's three timers (101 ping cycle, 102 clock, 103 tray step)
// as wx timers with those ids. They tick like window timers: periodically
// until stopped, and arming an armed one starts its period afresh. Their
// events go to the owner, which hands the id to the engine.
class WindowTimers : public Timers {
public:
    explicit WindowTimers(wxEvtHandler* owner);

    void Arm(int timerId, std::uint32_t periodMs) override;
    void Stop(int timerId) override;
    void StopAll();

private:
    wxTimer* Find(int timerId);

    std::array<wxTimer, 3> timers_;
};

}  // namespace vigilon::app
