#include "EngineFixture.h"
#include "PingPeriod.h"
#include "RunningTime.h"

namespace vigilon::test {
namespace {

constexpr std::int64_t kDay = 86400;

TEST(RunningTime, ShowsDaysWithoutPaddingAndTheTimeOfDayInTwoDigits) {
    EXPECT_EQ(FormatRunningTime(0), "Days: 0     Hours: 00:00:00");
    EXPECT_EQ(FormatRunningTime(kDay + 2 * 3600 + 3 * 60 + 4), "Days: 1     Hours: 02:03:04");
    EXPECT_EQ(FormatRunningTime(400 * kDay + kDay - 1), "Days: 400     Hours: 23:59:59");
}

TEST(RunningTime, AClockSetBackShowsZeroInsteadOfNegativeParts) {
    EXPECT_EQ(FormatRunningTime(-1), "Days: 0     Hours: 00:00:00");
    EXPECT_EQ(FormatRunningTime(-3 * kDay - 5), "Days: 0     Hours: 00:00:00");
}

class Clock : public EngineTest {
protected:
    void SetUp() override { engine.ToggleMonitoring(); }
    void AdvanceTo(std::int64_t elapsed) {
        clock.now = run().runStart + elapsed;
        Fire(TIMER_CLOCK);
    }
};

TEST_F(Clock, TicksTheRunningTimeAndTheCountdown) {
    AdvanceTo(1);
    EXPECT_EQ(run().timeRunningText, "Days: 0     Hours: 00:00:01");
    EXPECT_EQ(run().countdown, 29);
    AdvanceTo(2);
    EXPECT_EQ(display.shownCountdown, 28);
}

TEST_F(Clock, TheDailyResetZeroesCountersButKeepsTheOutageAndItsAlert) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    Answer();
    TimeOut();  // alerted
    TimeOut();
    ASSERT_EQ(alerts.events.size(), 1u);

    AdvanceTo(kDay - 1);
    EXPECT_EQ(run().pingNumber, 3);
    AdvanceTo(kDay);
    EXPECT_EQ(run().pingNumber, 0);
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_EQ(run().controlTimeouts, 0);
    EXPECT_EQ(run().consecutiveTimeouts, 0);
    EXPECT_EQ(run().timeRunningText, "Days: 1     Hours: 00:00:00");
    EXPECT_TRUE(run().targetDown);
    EXPECT_TRUE(run().alertSent);
    EXPECT_EQ(run().pingNumberText, "3") << "the texts show the zeroes from the next cycle on";

    Answer();
    EXPECT_EQ(alerts.events.size(), 2u) << "the alert before the reset still gets its recovery";
    EXPECT_EQ(run().pingNumberText, "1");
}

TEST_F(Clock, AnUnalertedOutageCountsAfreshAfterTheDailyReset) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 5; });
    TimeOut();
    TimeOut();
    TimeOut();
    AdvanceTo(kDay);
    for (int i = 0; i < 4; ++i)
        TimeOut();
    EXPECT_TRUE(alerts.events.empty()) << "four time-outs after the mark are not yet five";
    TimeOut();
    EXPECT_EQ(alerts.events.size(), 1u);
}

TEST_F(Clock, AClockSetBackLessThanADayResetsNothing) {
    Answer();
    AdvanceTo(-600);
    EXPECT_EQ(run().timeRunningText, "Days: 0     Hours: 00:00:00");
    EXPECT_EQ(run().pingNumber, 1);
    AdvanceTo(-kDay - 1);
    EXPECT_EQ(run().pingNumber, 0) << "a whole day back is another day";
}

TEST_F(Clock, TrayStepFiresOnceSetsTheTrayAndRunsAnExtraClockStep) {
    Configure([&](MonitorSettings& s) { s.autoMinimize = 1; });
    clock.now = run().runStart + 1;
    Fire(TIMER_TRAY);
    EXPECT_FALSE(timers.IsArmed(TIMER_TRAY));
    EXPECT_EQ(display.tray, TrayState::TargetOnline);
    EXPECT_TRUE(display.hidden);
    EXPECT_EQ(run().countdown, 29);
    EXPECT_EQ(run().timeRunningText, "Days: 0     Hours: 00:00:01");
}

TEST_F(Clock, TrayStepAfterAnEarlyStopShowsIdleAndStillHides) {
    Configure([&](MonitorSettings& s) { s.autoMinimize = 1; });
    engine.ToggleMonitoring();
    Fire(TIMER_TRAY);
    EXPECT_EQ(display.tray, TrayState::Idle);
    EXPECT_TRUE(display.hidden);
}

TEST_F(Clock, TrayStepLeavesTheWindowShownWithoutAutoMinimize) {
    Fire(TIMER_TRAY);
    EXPECT_FALSE(display.hidden);
}

TEST(PingPeriod, StoredFrequenciesAreUsedButNeverWithoutPauseOrBeyondATimer) {
    EXPECT_EQ(PingPeriodMs(30), 30000u);
    EXPECT_EQ(PingPeriodMs(5), 5000u) << "values the dialog refuses are used as stored";
    EXPECT_EQ(PingPeriodMs(86400), 86'400'000u);
    EXPECT_EQ(PingPeriodMs(0), 1000u);
    EXPECT_EQ(PingPeriodMs(-30), 1000u);
    EXPECT_EQ(PingPeriodMs(INT32_MIN), 1000u);
    EXPECT_EQ(PingPeriodMs(2'147'483), 2'147'483'000u);
    EXPECT_EQ(PingPeriodMs(2'147'484), 2'147'483'000u);
    EXPECT_EQ(PingPeriodMs(INT32_MAX), 2'147'483'000u);
}

TEST_F(EngineTest, AnOutOfRangeFrequencyArmsTheTimerWithTheUsablePeriod) {
    Configure([&](MonitorSettings& s) { s.pingFrequency = 0; });
    engine.ToggleMonitoring();
    EXPECT_EQ(timers.Period(TIMER_PING), 1000u);
    EXPECT_EQ(run().countdown, 1);
    Answer();
    EXPECT_EQ(timers.Period(TIMER_PING), 1000u);
    EXPECT_EQ(pause.waits.size(), 1u);

    engine.ToggleMonitoring();
    Configure([&](MonitorSettings& s) { s.pingFrequency = INT32_MAX; });
    engine.ToggleMonitoring();
    EXPECT_EQ(timers.Period(TIMER_PING), 2'147'483'000u);
}

}  // namespace
}  // namespace vigilon::test
