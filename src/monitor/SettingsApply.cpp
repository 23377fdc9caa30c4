// How the run follows a settings edit: paused while the dialog is open,
// restarted with a full period when it closes, reset only for a new target.
#include <utility>

#include "MonitorEngine.h"
#include "PingPeriod.h"

namespace vigilon {

void MonitorEngine::PauseForSettingsEdit() {
    editOpen_ = true;
    if (!run_.running) return;
    ports_.timers.Stop(TIMER_PING);
    ports_.timers.Stop(TIMER_CLOCK);  // a pending tray step still fires
}

void MonitorEngine::ApplyEditedSettings(const MonitorSettings& edited) {
    editOpen_ = false;
    if (edited.targetAddress != settings_.targetAddress) {
        ResetRun();
        // Written before the copy, so the switch as it was decides.
        WriteLog("***** SETTINGS UPDATED, Vigilon now aimed at: " + edited.targetAddress +
                 " *****");
    }
    settings_ = edited;
    ports_.alerts.UseSettings(settings_);
    // The settings file or a dialog left without Done may bring a frequency
    // outside its range; the timer and the countdown use the safe period.
    run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
    // A cycle still under way arms the next one itself as it ends.
    if (run_.running) {
        if (!CycleInFlight()) ArmPingTimer(PingPeriodMs(settings_.pingFrequency));
        ports_.timers.Arm(TIMER_CLOCK, 1000);
        if (settings_.autoMinimize == 1) ports_.timers.Arm(TIMER_TRAY, 1500);
    }
    UpdateMenuChecks();
    RefreshWindow();
    for (std::function<void()>& command : std::exchange(heldForEdit_, {}))
        command();
}

}  // namespace vigilon
