// How the run follows a settings edit: paused while the dialog is open,
// restarted with a full period when it closes, reset only for a new target.
#include "MonitorEngine.h"
#include "PingPeriod.h"

namespace vigilon {

void MonitorEngine::PauseForSettingsEdit() {
    if (!run_.running) return;
    ports_.timers.Stop(TIMER_PING);
    ports_.timers.Stop(TIMER_CLOCK);  // a pending tray step still fires
}

void MonitorEngine::ApplyEditedSettings(const MonitorSettings& edited) {
    if (edited.targetAddress != settings_.targetAddress) {
        ResetRun();
        // Written before the copy, so the switch as it was decides.
        WriteLog("***** SETTINGS UPDATED, Vigilon now aimed at: " + edited.targetAddress + " *****");
    }
    settings_ = edited;
    // The settings file or a dialog left without Done may bring a frequency
    // outside its range; the timer and the countdown use the safe period.
    run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
    if (run_.running) {
        ArmPingTimer(PingPeriodMs(settings_.pingFrequency));
        ports_.timers.Arm(TIMER_CLOCK, 1000);
        if (settings_.autoMinimize == 1) ports_.timers.Arm(TIMER_TRAY, 1500);
    }
    UpdateMenuChecks();
    RefreshWindow();
}

}  // namespace vigilon
