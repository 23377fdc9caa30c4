#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "EngineFakes.h"
#include "FakeClock.h"
#include "MonitorEngine.h"
#include "RecordingLog.h"

namespace vigilon::test {

inline constexpr const char* kTarget = "target.example";
inline constexpr const char* kTargetIp = "192.0.2.7";
inline constexpr const char* kControl = "control.example";

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        network.addresses[kTarget] = kTargetIp;
        Configure([](MonitorSettings& settings) {
            settings.targetAddress = kTarget;
            settings.controlAddress = kControl;
            settings.pingFrequency = 30;
            settings.timeoutsBeforeEmail = 3;
        });
    }

    // Changes the record as a settings file could have it: the engine is its
    // only writer, so the change goes through the engine's verb.
    void Configure(const std::function<void(MonitorSettings&)>& change) {
        MonitorSettings settings = engine.Settings();
        change(settings);
        engine.AdoptSettings(settings);
    }

    // Fires a timer the way the window would: only while it is armed.
    void Fire(int timerId) {
        ASSERT_TRUE(timers.IsArmed(timerId)) << "timer " << timerId << " is not armed";
        engine.OnTimer(timerId);
    }
    void Cycle(const std::string& targetResult) {
        network.Script(kTargetIp, {targetResult});
        Fire(TIMER_PING);
    }
    void TimeOut() { Cycle("timed out"); }
    void Answer() { Cycle("64 bytes from 192.0.2.7: icmp_seq = 0.  time: 3 ms"); }

    const MonitorRun& run() { return engine.Run(); }

    FakeTimers timers;
    FakeDisplay display;
    FakeNetwork network;
    InlineWork work;
    FakeAlerts alerts;
    RecordingLog eventLog;
    FakeClock clock;
    FakePause pause;
    FakeProblems problems;
    MonitorEngine engine{
        {timers, display, network, work, alerts, eventLog, clock, pause, problems}};
};

}  // namespace vigilon::test
