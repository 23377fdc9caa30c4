// The one-second clock step, the delayed tray step of a run, and what the
// tray and the menu show of it.
#include "MonitorEngine.h"
#include "RunningTime.h"

namespace vigilon {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
}

void MonitorEngine::ClockStep() {
    const std::int64_t elapsed = ports_.clock.Now() - run_.runStart;
    run_.timeRunningText = FormatRunningTime(elapsed);

    // Statistics start afresh with every 24 hours of running time. Division
    // truncates toward zero, so a clock set back by less than a day keeps
    // day 0 and resets nothing.
    const std::int64_t day = elapsed / kSecondsPerDay;
    if (day != run_.dayIndex) {
        run_.ZeroCounters();
        run_.dayIndex = day;
    }
    run_.countdown -= 1;
    RefreshWindow();
}

void MonitorEngine::TrayStep() {
    ports_.timers.Stop(TIMER_TRAY);  // it fires once
    UpdateTrayIcon();
    if (settings_.autoMinimize == 1) ports_.display.HideWindow();
    ClockStep();
}

void MonitorEngine::UpdateTrayIcon() {
    TrayState state = TrayState::Idle;
    if (run_.running) state = run_.targetDown ? TrayState::TargetOffline : TrayState::TargetOnline;
    ports_.display.SetTrayState(state);
}

void MonitorEngine::UpdateMenuChecks() {
    ports_.display.SetMenuChecks(settings_.logEnabled != 0, settings_.emailEnabled != 0);
}

}  // namespace vigilon
