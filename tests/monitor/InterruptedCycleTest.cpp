// A probe or log write may show a message box whose nested message loop lets
// the user press Stop or Start while the cycle waits for it.
#include "EngineFixture.h"

namespace vigilon::test {
namespace {

class InterruptedCycle : public EngineTest {
protected:
    void SetUp() override { engine.ToggleMonitoring(); }
};

TEST_F(InterruptedCycle, AStopInsideTheTargetProbeEndsTheCycleWithoutRearming) {
    network.duringNextPing = [this] { engine.ToggleMonitoring(); };
    TimeOut();
    EXPECT_FALSE(run().running);
    EXPECT_FALSE(timers.IsArmed(TIMER_PING)) << "a stopped run must not go on pinging";
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_FALSE(run().targetDown);
    EXPECT_EQ(run().lastResult, "***** Vigilon STOPPED *****");
    EXPECT_EQ(display.tray, TrayState::Idle);
    EXPECT_EQ(display.progress.back(), 0);
    EXPECT_EQ(eventLog.lines.back(), "***** Vigilon STOPPED *****");
    // The cycle was counted before the stop; the window shows it.
    EXPECT_EQ(run().pingNumber, 1);
    EXPECT_EQ(display.shownPingNumber, "1");
}

TEST_F(InterruptedCycle, AStopInsideTheDeliveryLeavesNoControlResultBehind) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    network.Script(kControl, {"timed out"});
    alerts.duringNextDelivery = [this] { engine.ToggleMonitoring(); };
    TimeOut();
    ASSERT_EQ(alerts.events.size(), 1u);
    EXPECT_TRUE(run().controlResult.empty());
    EXPECT_EQ(run().controlTimeouts, 1);
    EXPECT_EQ(display.shownPingNumber, "1");
    EXPECT_EQ(run().controlTimeoutsText, "1");
    EXPECT_FALSE(timers.IsArmed(TIMER_PING));
}

TEST_F(InterruptedCycle, AStopInsideTheControlProbeSendsNoAlert) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    network.Script(kTargetIp, {"timed out"});
    network.Script(kControl, {"timed out"});
    // The first ping of the cycle is the target; stop while the control probe waits.
    network.duringNextPing = [this] {
        network.duringNextPing = [this] { engine.ToggleMonitoring(); };
    };
    Fire(TIMER_PING);
    EXPECT_TRUE(alerts.events.empty());
    EXPECT_FALSE(run().alertSent);
    EXPECT_FALSE(timers.IsArmed(TIMER_PING));
}

TEST_F(InterruptedCycle, ARestartInsideTheProbeKeepsTheNewRunsTimerAndCounters) {
    network.duringNextPing = [this] {
        engine.ToggleMonitoring();
        engine.ToggleMonitoring();
    };
    TimeOut();
    EXPECT_TRUE(run().running);
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
    EXPECT_EQ(run().pingNumber, 0);
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_FALSE(run().targetDown);
    EXPECT_EQ(run().lastResult, "Getting ready to PING!");
}

TEST_F(InterruptedCycle, AnUninterruptedCycleAfterwardsRunsNormally) {
    network.duringNextPing = [this] {
        engine.ToggleMonitoring();
        engine.ToggleMonitoring();
    };
    TimeOut();
    TimeOut();
    EXPECT_EQ(run().targetTimeouts, 1);
    EXPECT_EQ(timers.Period(TIMER_PING), 5000u);
}

}  // namespace
}  // namespace vigilon::test
