#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GatedLog.h"
#include "MonitorPorts.h"
#include "MonitorRun.h"
#include "MonitorSettings.h"
#include "ProblemReport.h"
#include "RunObserver.h"
#include "WallClock.h"

namespace vigilon {

// Everything the engine reaches outside itself.
struct EnginePorts {
    Timers& timers;
    MonitorDisplay& display;
    NetworkProbes& network;
    BackgroundWork& background;  // where lookups and probes run
    AlertDelivery& alerts;
    LogWriter& eventLog;  // ungated; the engine gates it on logEnabled
    WallClock& clock;
    Pause& pause;
    ProblemReport& problems;
};

// The monitoring run: start and stop, the ping cycle, the one-second clock
// and the delayed tray step. Holds the settings record and the run state,
// as the main window does. It runs on one thread, the engine's, and never
// waits there: lookups and probes run through BackgroundWork and the cycle
// goes on when their results come back; mail goes out beside it. It
// reports failures and never asks anyone anything.
class MonitorEngine : private DeliveryListener {
public:
    explicit MonitorEngine(EnginePorts ports);
    ~MonitorEngine() override;
    MonitorEngine(const MonitorEngine&) = delete;
    MonitorEngine& operator=(const MonitorEngine&) = delete;

    // The engine is the only writer of both; everyone else calls its verbs.
    const MonitorSettings& Settings() const { return settings_; }
    const MonitorRun& Run() const { return run_; }

    // The record read from the settings file at start-up.
    void AdoptSettings(const MonitorSettings& loaded);
    // Starts a run when stopped, stops it when running. While a settings
    // edit is open it waits for the edit to apply, so that a run never
    // starts with settings about to change.
    void ToggleMonitoring();
    // The Options menu's switches; held while a settings edit is open, as
    // the edit's values would overwrite them.
    void ToggleLog();
    void ToggleEmail();
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
    // True from the start of a ping cycle until its last step.
    bool CycleInFlight() const { return cycleEpoch_ == runEpoch_; }

    // The gated log entry: nothing reaches the file while logging is off.
    void WriteLog(const std::string& message) { writeLog_.Write(message); }
    LogWriter& GatedWriter() { return writeLog_; }

    // A settings edit: no ping cycle and no clock step run while its dialog
    // is open; a pending tray step still fires, and a cycle already under
    // way ends without arming the next.
    void PauseForSettingsEdit();
    // Takes the edited record. A new target resets the run and is logged;
    // a running monitor restarts with a full period. Commands held during
    // the edit run afterwards, in the order they came.
    void ApplyEditedSettings(const MonitorSettings& edited);

    // Mails of alerts and recoveries not yet accepted by a server.
    int MailsWaiting() const { return ports_.alerts.MailsWaiting(); }

    // Who is told the run's figures (metrics); nullptr for nobody.
    void Observe(RunObserver* observer) { observer_ = observer; }

private:
    void Start();
    void Stop();
    void RefreshWindow();
    void ArmPingTimer(std::uint32_t periodMs);
    // Runs command now, or after the open settings edit has applied.
    void WhenNotEditing(std::function<void()> command);
    // What a stop or a reset leaves of the cycle under way: its counts stay,
    // its later steps never run.
    void AbandonCycle();

    // The ping cycle's steps, each a continuation of the one before.
    void ResolveTarget();
    void NameTarget();
    void ProbeTarget();
    void CountTargetResult(ProbeOutcome outcome);
    void ProbeControlThenDeliver(AlertKind kind, std::function<void()> then);
    void DeliverEvent(AlertKind kind);
    void EndCycle();
    void EndCycleAfterPause();
    // Runs the result of blocking work on the engine's thread, unless the
    // cycle it belongs to has been stopped or reset meanwhile.
    template <class Result>
    void Beside(std::function<Result()> work, std::function<void(Result)> then);
    void TellTargetProbe(bool answered, const ProbeOutcome& outcome);
    void TellState();

    // DeliveryListener
    void MailDelivered(const AlertEvent& event, const std::string& shownServer) override;
    void MailAttemptFailed(const AlertEvent& event, const std::string& shownServer,
                           const std::string& errorText) override;

    EnginePorts ports_;
    MonitorSettings settings_;
    MonitorRun run_;
    GatedLog writeLog_;
    // Advanced by every start, stop and reset. A step of a cycle that finds
    // it changed belongs to a run that is no longer there and does nothing.
    std::uint64_t runEpoch_ = 0;
    // The epoch of the cycle under way, if any; never equal after a change.
    std::optional<std::uint64_t> cycleEpoch_;
    std::shared_ptr<EchoProber> probe_;  // the cycle's probe, shared with its jobs
    bool editOpen_ = false;
    std::vector<std::function<void()>> heldForEdit_;
    RunObserver* observer_ = nullptr;
    // The cycle's timings for the observer, on the monotonic clock.
    std::int64_t cycleStartUs_ = 0;
    std::int64_t probeIssuedUs_ = 0;
    std::int64_t resolveUs_ = 0;
    bool resolved_ = true;
};

}  // namespace vigilon
