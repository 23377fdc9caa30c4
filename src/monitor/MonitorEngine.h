#pragma once

#include <cstdint>
#include <string>

#include "GatedLog.h"
#include "MonitorPorts.h"
#include "MonitorRun.h"
#include "MonitorSettings.h"
#include "WallClock.h"

namespace vigilon {

// Everything the engine reaches outside itself.
struct EnginePorts {
    Timers& timers;
    MonitorDisplay& display;
    NetworkProbes& network;
    AlertDelivery& alerts;
    LogWriter& eventLog;  // ungated; the engine gates it on logEnabled
    WallClock& clock;
    Pause& pause;
};

// The monitoring run: start and stop, the ping cycle, the one-second clock
// and the delayed tray step. Holds the settings record and the run state,
// as the main window does, and runs on the user-interface thread.
class MonitorEngine {
public:
    explicit MonitorEngine(EnginePorts ports);

    MonitorSettings& Settings() { return settings_; }
    const MonitorSettings& Settings() const { return settings_; }
    MonitorRun& Run() { return run_; }
    const MonitorRun& Run() const { return run_; }

    // Starts a run when stopped, stops it when running.
    void ToggleMonitoring();
    void ResetRun();
    // Dispatches a fired window timer by its id; unknown ids are ignored.
    void OnTimer(int timerId);

    void PingCycle();
    void ClockStep();
    void TrayStep();
    void UpdateTrayIcon();
    // The Options menu's check marks follow logEnabled and emailEnabled.
    void UpdateMenuChecks();
    void DisplayCounters();

    // The gated log entry: nothing reaches the file while logging is off.
    void WriteLog(const std::string& message) { writeLog_.Write(message); }
    LogWriter& GatedWriter() { return writeLog_; }

    // A settings edit: no ping cycle and no clock step run while its dialog
    // is open; a pending tray step still fires.
    void PauseForSettingsEdit();
    // Takes the edited record. A new target resets the run and is logged;
    // a running monitor restarts with a full period.
    void ApplyEditedSettings(const MonitorSettings& edited);

private:
    void Start();
    void Stop();
    void RefreshWindow();
    void ArmPingTimer(std::uint32_t periodMs);
    // Probes the control host and delivers the alert or recovery mail, unless
    // the run was stopped or reset while the probe waited.
    void ProbeControlAndDeliver(EchoProber& probe, std::uint64_t cycleEpoch, bool refreshFirst);
    bool CycleAbandoned(std::uint64_t cycleEpoch) const;

    EnginePorts ports_;
    MonitorSettings settings_;
    MonitorRun run_;
    GatedLog writeLog_;
    // Advanced by every start, stop and reset. A cycle that finds it changed
    // after a call that may run a nested message loop (a message box) has
    // been overtaken by the user and stops without touching the run.
    std::uint64_t runEpoch_ = 0;
};

}  // namespace vigilon
