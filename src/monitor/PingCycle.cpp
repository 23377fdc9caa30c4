// One ping cycle: probe the target, count the outcome, and at the alert and
// recovery moments probe the control host and hand the mail over. Lookups
// and probes run beside the engine's thread; each step below is the
// continuation of the one before, so the cycle keeps its order while the
// window goes on answering.
#include <chrono>

#include "MonitorEngine.h"
#include "PingPeriod.h"
#include "ProbeResult.h"

namespace vigilon {

namespace {
constexpr int kDataSize = 32;
constexpr std::uint32_t kPauseAfterAnswerMs = 500;

std::int64_t MonotonicUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

template <class Result>
void MonitorEngine::Beside(std::function<Result()> work, std::function<void(Result)> then) {
    const std::uint64_t epoch = runEpoch_;
    ports_.background.Run(
        [work = std::move(work), then = std::move(then), epoch, this]() -> std::function<void()> {
            // Only the continuation touches the engine, on the engine's thread.
            return [this, epoch, then, result = work()]() mutable {
                if (cycleEpoch_ != epoch) return;  // stopped or reset meanwhile
                then(std::move(result));
            };
        });
}

void MonitorEngine::PingCycle() {
    // Stopping the timer first keeps cycles from overlapping; the next one is
    // timed from the end of this one, which arms it.
    ports_.timers.Stop(TIMER_PING);
    if (CycleInFlight()) return;
    cycleEpoch_ = runEpoch_;
    run_.pingNumber += 1;
    ports_.display.SetProgress(25);
    probe_ = ports_.network.NewProbe();
    cycleStartUs_ = MonotonicUs();
    probeIssuedUs_ = cycleStartUs_;
    resolveUs_ = 0;
    resolved_ = true;
    if (run_.targetIp.empty())
        ResolveTarget();
    else
        NameTarget();
}

// A name that does not resolve is looked up again next cycle: the failure is
// never kept as an address, and it is this cycle's result, as a time-out is.
void MonitorEngine::ResolveTarget() {
    NetworkProbes& network = ports_.network;
    Beside<LookupOutcome>(
        [&network, host = settings_.targetAddress] { return network.LookupAddress(host); },
        [this](const LookupOutcome& address) {
            resolveUs_ = MonotonicUs() - cycleStartUs_;
            resolved_ = address.found;
            if (address.found) {
                run_.targetIp = address.text;
                return NameTarget();
            }
            ports_.display.SetProgress(50);
            ports_.display.SetProgress(75);
            CountTargetResult({address.text, true});
        });
}

void MonitorEngine::NameTarget() {
    ports_.display.SetProgress(50);
    if (!run_.ipToName.empty()) return ProbeTarget();
    NetworkProbes& network = ports_.network;
    Beside<LookupOutcome>(
        [&network, address = run_.targetIp] { return network.LookupName(address); },
        [this](LookupOutcome name) {
            // No reverse name is normal for many addresses; its text is shown.
            run_.ipToName = std::move(name.text);
            ProbeTarget();
        });
}

void MonitorEngine::ProbeTarget() {
    ports_.display.SetProgress(75);
    probeIssuedUs_ = MonotonicUs();
    // The probe goes to the resolved address, not to the name.
    Beside<ProbeOutcome>(
        [probe = probe_, address = run_.targetIp] { return probe->Ping(address, kDataSize); },
        [this](ProbeOutcome outcome) { CountTargetResult(std::move(outcome)); });
}

void MonitorEngine::TellTargetProbe(bool answered, const ProbeOutcome& outcome) {
    if (observer_ == nullptr) return;
    TargetProbeFigures figures;
    figures.answered = answered;
    figures.resolved = resolved_;
    figures.resolveUs = resolveUs_;
    // Until the answer arrived: the probe's own pause after it is no part of it.
    figures.durationUs = answered && outcome.roundTripUs >= 0
                             ? probeIssuedUs_ - cycleStartUs_ + outcome.roundTripUs
                             : MonotonicUs() - cycleStartUs_;
    if (answered) {
        figures.roundTripUs = outcome.roundTripUs;
        figures.hopLimit = outcome.hopLimit;
    }
    observer_->TargetProbed(figures);
}

void MonitorEngine::TellState() {
    if (observer_ != nullptr) observer_->StateChanged(run_.alertSent, MailsWaiting());
}

void MonitorEngine::CountTargetResult(ProbeOutcome outcome) {
    if (outcome.localFailure) ports_.problems.Report(outcome.text);
    const bool timedOut = IsTimedOut(run_.targetTimeouts, outcome.text);
    TellTargetProbe(!timedOut, outcome);
    run_.lastResult = std::move(outcome.text);
    MonitorDisplay& display = ports_.display;

    if (timedOut) {
        run_.countdown = kTimeoutPeriodSeconds;
        if (!run_.targetDown) {
            display.ShowLamp(Lamp::TargetDown, true);
            display.ShowLamp(Lamp::Online, false);
            run_.outageStart = ports_.clock.Now();
        }
        run_.targetDown = true;
        WriteLog(settings_.targetAddress + " :: " + run_.lastResult);

        // Widened so that a threshold of INT32_MIN read from a file cannot overflow.
        const std::int64_t threshold = std::int64_t{settings_.timeoutsBeforeEmail} - 1;
        if (run_.consecutiveTimeouts >= threshold) {
            if (!run_.alertSent) {
                return ProbeControlThenDeliver(AlertKind::Alert, [this] {
                    run_.alertSent = true;  // the mail waits beside until a server takes it
                    run_.consecutiveTimeouts = 1;
                    EndCycle();
                });
            }
            run_.consecutiveTimeouts = 0;
        }
        run_.consecutiveTimeouts += 1;
    } else {
        if (run_.targetDown) {
            display.ShowLamp(Lamp::Online, true);
            display.ShowLamp(Lamp::TargetDown, false);
            run_.targetDown = false;
            run_.consecutiveTimeouts = 0;
        }
        if (run_.alertSent) {
            return ProbeControlThenDeliver(AlertKind::Recovery, [this] {
                run_.alertSent = false;
                EndCycle();
            });
        }
    }
    EndCycle();
}

void MonitorEngine::ProbeControlThenDeliver(AlertKind kind, std::function<void()> then) {
    Beside<ProbeOutcome>(
        [probe = probe_, host = settings_.controlAddress] { return probe->Ping(host, kDataSize); },
        [this, kind, then = std::move(then)](ProbeOutcome control) {
            if (control.localFailure) ports_.problems.Report(control.text);
            run_.controlResult = std::move(control.text);
            const bool timedOut = IsTimedOut(run_.controlTimeouts, run_.controlResult);
            if (observer_ != nullptr) observer_->ControlProbed(!timedOut);
            if (kind == AlertKind::Alert) RefreshWindow();
            const std::uint64_t epoch = runEpoch_;
            DeliverEvent(kind);
            if (cycleEpoch_ == epoch) then();  // unless a stop came with the hand-over
        });
}

void MonitorEngine::DeliverEvent(AlertKind kind) {
    AlertEvent event;
    event.kind = kind;
    event.time = ports_.clock.Now();
    event.outageStart = run_.outageStart;
    event.targetAddress = settings_.targetAddress;
    event.targetResult = run_.lastResult;
    event.controlResult = run_.controlResult;
    event.mailFrom = settings_.mailFrom;
    event.mailTo = settings_.mailTo;
    ports_.alerts.DeliverAlert(event, settings_);
}

void MonitorEngine::EndCycle() {
    run_.controlResult.clear();
    ports_.display.SetProgress(100);
    DisplayCounters();
    RefreshWindow();
    if (!run_.targetDown) {
        const std::uint64_t epoch = runEpoch_;
        ports_.pause.After(kPauseAfterAnswerMs, [this, epoch] {
            if (cycleEpoch_ != epoch) return;  // stopped or reset during the pause
            run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
            if (!editOpen_) ArmPingTimer(PingPeriodMs(settings_.pingFrequency));
            EndCycleAfterPause();
        });
        return;
    }
    // A settings edit opened meanwhile arms the timer when it applies.
    if (!editOpen_) ArmPingTimer(kTimeoutPeriodMs);
    EndCycleAfterPause();
}

void MonitorEngine::EndCycleAfterPause() {
    TellState();
    UpdateTrayIcon();
    ports_.display.SetProgress(0);
    probe_.reset();
    cycleEpoch_.reset();
}

}  // namespace vigilon
