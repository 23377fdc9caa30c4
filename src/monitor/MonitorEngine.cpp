#include "MonitorEngine.h"

#include "PingPeriod.h"

namespace vigilon {

namespace {
constexpr const char* kStoppedText = "***** Vigilon STOPPED *****";
}

MonitorEngine::MonitorEngine(EnginePorts ports)
    : ports_(ports), writeLog_(settings_, ports.eventLog) {}

void MonitorEngine::ToggleMonitoring() {
    if (run_.running)
        Stop();
    else
        Start();
}

void MonitorEngine::ResetRun() {
    ++runEpoch_;
    run_.ZeroCounters();
    run_.alertSent = false;
    run_.targetDown = false;
    run_.outageStart = 0;
    for (std::string* text : {&run_.timeRunningText, &run_.emailsText, &run_.pingNumberText,
                              &run_.lastResult, &run_.targetTimeoutsText,
                              &run_.controlTimeoutsText, &run_.targetIp, &run_.ipToName,
                              &run_.lastError}) {
        text->clear();
    }
    run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
    run_.runStart = ports_.clock.Now();
}

void MonitorEngine::Start() {
    MonitorDisplay& display = ports_.display;
    display.EnableStartStop(false, true);
    ResetRun();
    display.ShowLamp(Lamp::Online, true);
    display.ShowLamp(Lamp::Idle, false);
    display.ShowLamp(Lamp::TargetDown, false);
    display.SetToggleButtonText("S&top Ping");
    ArmPingTimer(PingPeriodMs(settings_.pingFrequency));
    ports_.timers.Arm(TIMER_CLOCK, 1000);
    display.SetCaption("Vigilon - ON");
    ports_.timers.Arm(TIMER_TRAY, 1500);
    run_.running = true;
    DisplayCounters();
    run_.lastResult = "Getting ready to PING!";
    WriteLog("***** Vigilon STARTED :: aimed at: " + settings_.targetAddress + " *****");
    RefreshWindow();
}

void MonitorEngine::Stop() {
    MonitorDisplay& display = ports_.display;
    display.EnableStartStop(true, false);
    display.ShowLamp(Lamp::Online, false);
    display.ShowLamp(Lamp::Idle, true);  // the target-down lamp stays as it was
    display.SetToggleButtonText("&Start Ping");
    ports_.timers.Stop(TIMER_PING);
    ports_.timers.Stop(TIMER_CLOCK);  // a pending tray step still fires
    run_.lastResult = kStoppedText;
    display.SetCaption("Vigilon - OFF");
    run_.running = false;
    ++runEpoch_;
    UpdateTrayIcon();
    RefreshWindow();
    WriteLog(kStoppedText);
}

void MonitorEngine::OnTimer(int timerId) {
    switch (timerId) {
        case TIMER_PING: PingCycle(); break;
        case TIMER_CLOCK: ClockStep(); break;
        case TIMER_TRAY: TrayStep(); break;
        default: break;
    }
}

void MonitorEngine::DisplayCounters() {
    run_.emailsText = std::to_string(run_.emailsSent);
    run_.pingNumberText = std::to_string(run_.pingNumber);
    run_.targetTimeoutsText = std::to_string(run_.targetTimeouts);
    run_.controlTimeoutsText = std::to_string(run_.controlTimeouts);
}

void MonitorEngine::RefreshWindow() { ports_.display.Refresh(settings_, run_); }

void MonitorEngine::ArmPingTimer(std::uint32_t periodMs) { ports_.timers.Arm(TIMER_PING, periodMs); }

}  // namespace vigilon
