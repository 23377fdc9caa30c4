#include "MonitorEngine.h"

#include "PingPeriod.h"

namespace vigilon {

namespace {
constexpr const char* kStoppedText = "***** Vigilon STOPPED *****";
}

MonitorEngine::MonitorEngine(EnginePorts ports)
    : ports_(ports), writeLog_(settings_, ports.eventLog) {
    ports_.alerts.Attach(this);
}

MonitorEngine::~MonitorEngine() { ports_.alerts.Attach(nullptr); }

void MonitorEngine::AdoptSettings(const MonitorSettings& loaded) {
    settings_ = loaded;
    run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
    ports_.alerts.UseSettings(settings_);
}

void MonitorEngine::WhenNotEditing(std::function<void()> command) {
    if (editOpen_)
        heldForEdit_.push_back(std::move(command));
    else
        command();
}

void MonitorEngine::ToggleMonitoring() {
    WhenNotEditing([this] {
        if (run_.running)
            Stop();
        else
            Start();
    });
}

void MonitorEngine::ToggleLog() {
    WhenNotEditing([this] {
        settings_.logEnabled = settings_.logEnabled != 0 ? 0 : 1;
        UpdateMenuChecks();
    });
}

void MonitorEngine::ToggleEmail() {
    WhenNotEditing([this] {
        settings_.emailEnabled = settings_.emailEnabled != 0 ? 0 : 1;
        ports_.alerts.UseSettings(settings_);
        UpdateMenuChecks();
    });
}

void MonitorEngine::AbandonCycle() {
    if (!CycleInFlight()) return;
    cycleEpoch_.reset();
    probe_.reset();
    run_.controlResult.clear();
    DisplayCounters();
    ports_.display.SetProgress(0);
}

void MonitorEngine::ResetRun() {
    AbandonCycle();
    ++runEpoch_;
    run_.ZeroCounters();
    run_.alertSent = false;
    run_.targetDown = false;
    run_.outageStart = 0;
    for (std::string* text : {&run_.timeRunningText, &run_.emailsText, &run_.pingNumberText,
                              &run_.lastResult, &run_.targetTimeoutsText, &run_.controlTimeoutsText,
                              &run_.targetIp, &run_.ipToName, &run_.lastError}) {
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
    AbandonCycle();
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

void MonitorEngine::ArmPingTimer(std::uint32_t periodMs) {
    ports_.timers.Arm(TIMER_PING, periodMs);
}

// A delivery may end in another run than the one whose event it carried;
// it counts where it ends, as "# Emails" counts what went out.
void MonitorEngine::MailDelivered(const AlertEvent& event, const std::string& shownServer) {
    ++run_.emailsSent;
    run_.emailsText = std::to_string(run_.emailsSent);
    WriteLog("EMAIL TO: " + event.mailTo + " (through) " + shownServer);
    WriteLog("MESSAGE: " + event.targetAddress + " : " + TargetStatusWord(event.kind) + " : " +
             event.targetResult);
    WriteLog("Control Ping: " + event.controlResult);
    RefreshWindow();
    if (observer_ != nullptr) observer_->MailAttempted(true);
    TellState();
}

void MonitorEngine::MailAttemptFailed(const AlertEvent&, const std::string& shownServer,
                                      const std::string& errorText) {
    run_.lastError = "SMTP " + shownServer + " " + errorText;
    WriteLog(run_.lastError);
    RefreshWindow();
    if (observer_ != nullptr) observer_->MailAttempted(false);
    TellState();
}

}  // namespace vigilon
