// One ping cycle: probe the target, count the outcome, and at the alert and
// recovery moments probe the control host and deliver the mail.
#include "MonitorEngine.h"
#include "PingPeriod.h"
#include "ProbeResult.h"

namespace vigilon {

namespace {
constexpr int kDataSize = 32;
constexpr std::uint32_t kPauseAfterAnswerMs = 500;
}

bool MonitorEngine::CycleAbandoned(std::uint64_t cycleEpoch) const {
    return runEpoch_ != cycleEpoch;
}

void MonitorEngine::PingCycle() {
    // Stopping the timer first keeps cycles from overlapping; the next one is
    // timed from the end of this one.
    ports_.timers.Stop(TIMER_PING);
    const std::uint64_t epoch = runEpoch_;
    MonitorDisplay& display = ports_.display;

    // The probe and the log may show a message box whose nested loop lets the
    // user stop, restart or re-aim the run. Such a cycle must not go on
    // counting into, or re-arming, a run that is no longer its own.
    // What it has already counted stays counted, and the window is brought
    // up to date with it.
    auto abandoned = [&] {
        if (!CycleAbandoned(epoch)) return false;
        run_.controlResult.clear();
        DisplayCounters();
        RefreshWindow();
        display.SetProgress(0);
        return true;
    };

    run_.pingNumber += 1;
    display.SetProgress(25);
    std::unique_ptr<EchoProber> probe = ports_.network.NewProbe();

    if (run_.targetIp.empty()) run_.targetIp = ports_.network.LookupAddress(settings_.targetAddress);
    display.SetProgress(50);
    if (run_.ipToName.empty()) run_.ipToName = ports_.network.LookupName(run_.targetIp);
    display.SetProgress(75);

    std::string result = probe->Ping(run_.targetIp, kDataSize);
    if (abandoned()) return;
    run_.lastResult = std::move(result);

    if (IsTimedOut(run_.targetTimeouts, run_.lastResult)) {
        run_.countdown = kTimeoutPeriodSeconds;
        if (!run_.targetDown) {
            display.ShowLamp(Lamp::TargetDown, true);
            display.ShowLamp(Lamp::Online, false);
            run_.outageStart = ports_.clock.Now();
        }
        run_.targetDown = true;
        WriteLog(settings_.targetAddress + " :: " + run_.lastResult);
        if (abandoned()) return;

        // Widened so that a threshold of INT32_MIN read from a file cannot overflow.
        const std::int64_t threshold = std::int64_t{settings_.timeoutsBeforeEmail} - 1;
        if (run_.consecutiveTimeouts >= threshold) {
            if (!run_.alertSent) {
                ProbeControlAndDeliver(*probe, epoch, /*refreshFirst=*/true);
                if (abandoned()) return;
                run_.alertSent = true;  // also when the delivery failed: never retried
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
            ProbeControlAndDeliver(*probe, epoch, /*refreshFirst=*/false);
            if (abandoned()) return;
            run_.alertSent = false;
        }
    }

    run_.controlResult.clear();
    display.SetProgress(100);
    DisplayCounters();
    RefreshWindow();

    if (!run_.targetDown) {
        ports_.pause.Wait(kPauseAfterAnswerMs);
        run_.countdown = PingPeriodSeconds(settings_.pingFrequency);
        ArmPingTimer(PingPeriodMs(settings_.pingFrequency));
    } else {
        ArmPingTimer(kTimeoutPeriodMs);
    }
    UpdateTrayIcon();
    display.SetProgress(0);
}

void MonitorEngine::ProbeControlAndDeliver(EchoProber& probe, std::uint64_t cycleEpoch,
                                           bool refreshFirst) {
    std::string control = probe.Ping(settings_.controlAddress, kDataSize);
    if (CycleAbandoned(cycleEpoch)) return;
    run_.controlResult = std::move(control);
    IsTimedOut(run_.controlTimeouts, run_.controlResult);
    if (refreshFirst) RefreshWindow();
    ports_.alerts.DeliverAlert(settings_, run_, writeLog_);
}

}  // namespace vigilon
