#include "EngineFixture.h"

namespace vigilon::test {
namespace {

using StartStop = EngineTest;

TEST_F(StartStop, StartShowsAFreshRunAndArmsTheThreeTimers) {
    // A run before, with a cycle counted and a delivery failed.
    engine.ToggleMonitoring();
    Configure([](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    TimeOut();
    alerts.Failed("smtp.example", "Unable to connect to server");
    engine.ToggleMonitoring();
    ASSERT_EQ(run().pingNumber, 1);
    ASSERT_EQ(run().lastError, "SMTP smtp.example Unable to connect to server");
    Configure([](MonitorSettings& s) { s.timeoutsBeforeEmail = 3; });
    eventLog.lines.clear();
    display.tray.reset();
    engine.ToggleMonitoring();

    EXPECT_TRUE(run().running);
    EXPECT_EQ(display.caption, "Vigilon - ON");
    EXPECT_EQ(display.buttonText, "S&top Ping");
    EXPECT_FALSE(display.startEnabled);
    EXPECT_TRUE(display.stopEnabled);
    EXPECT_TRUE(display.LampVisible(Lamp::Online));
    EXPECT_FALSE(display.LampVisible(Lamp::Idle));
    EXPECT_FALSE(display.LampVisible(Lamp::TargetDown));
    for (const std::string* counter : {&run().pingNumberText, &run().targetTimeoutsText,
                                       &run().controlTimeoutsText, &run().emailsText}) {
        EXPECT_EQ(*counter, "0");
    }
    EXPECT_EQ(run().lastError, "");
    EXPECT_EQ(display.shownResult, "Getting ready to PING!");
    EXPECT_EQ(display.shownCountdown, 30);
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
    EXPECT_EQ(timers.Period(TIMER_CLOCK), 1000u);
    EXPECT_EQ(timers.Period(TIMER_TRAY), 1500u);
    EXPECT_EQ(eventLog.lines,
              std::vector<std::string>{"***** Vigilon STARTED :: aimed at: target.example *****"});
    EXPECT_FALSE(display.tray.has_value()) << "the tray changes only 1.5 s after the start";
}

TEST_F(StartStop, StopDuringAnOutageKeepsTheDownLampAndIdlesTheTray) {
    engine.ToggleMonitoring();
    TimeOut();
    engine.ToggleMonitoring();

    EXPECT_FALSE(run().running);
    EXPECT_EQ(display.caption, "Vigilon - OFF");
    EXPECT_EQ(display.buttonText, "&Start Ping");
    EXPECT_TRUE(display.startEnabled);
    EXPECT_FALSE(display.stopEnabled);
    EXPECT_TRUE(display.LampVisible(Lamp::Idle));
    EXPECT_FALSE(display.LampVisible(Lamp::Online));
    EXPECT_TRUE(display.LampVisible(Lamp::TargetDown));
    EXPECT_EQ(display.tray, TrayState::Idle);
    EXPECT_FALSE(timers.IsArmed(TIMER_PING));
    EXPECT_FALSE(timers.IsArmed(TIMER_CLOCK));
    EXPECT_EQ(display.shownResult, "***** Vigilon STOPPED *****");
    EXPECT_EQ(run().targetTimeouts, 1) << "counters stay until the next start";

    engine.ToggleMonitoring();
    EXPECT_FALSE(display.LampVisible(Lamp::TargetDown));
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_FALSE(run().targetDown);
}

TEST_F(StartStop, LogLinesFollowTheRunInOrder) {
    alerts.deliverAtOnce = true;
    Configure([&](MonitorSettings& s) { s.mailTo = "ops@example.org"; });
    engine.ToggleMonitoring();
    Answer();
    TimeOut();
    TimeOut();
    TimeOut();  // third: the alert
    Answer();   // the recovery
    engine.ToggleMonitoring();

    const std::string kAnswer = "64 bytes from 192.0.2.7: icmp_seq = 0.  time: 3 ms";
    const std::string kControlAnswer = "64 bytes from control.example: icmp_seq = 0.  time: 1 ms";
    EXPECT_EQ(eventLog.lines, (std::vector<std::string>{
                                  "***** Vigilon STARTED :: aimed at: target.example *****",
                                  "target.example :: timed out",
                                  "target.example :: timed out",
                                  "target.example :: timed out",
                                  "EMAIL TO: ops@example.org (through) smtp.example",
                                  "MESSAGE: target.example : OFFLINE : timed out",
                                  "Control Ping: " + kControlAnswer,
                                  "EMAIL TO: ops@example.org (through) smtp.example",
                                  "MESSAGE: target.example : ONLINE : " + kAnswer,
                                  "Control Ping: " + kControlAnswer,
                                  "***** Vigilon STOPPED *****",
                              }));
}

TEST_F(StartStop, LoggingSwitchedOffWritesNothing) {
    Configure([&](MonitorSettings& s) { s.logEnabled = 0; });
    engine.ToggleMonitoring();
    TimeOut();
    engine.ToggleMonitoring();
    EXPECT_TRUE(eventLog.lines.empty());
}

TEST_F(StartStop, ResetRunLeavesTheDayIndexAndLampsAlone) {
    engine.ToggleMonitoring();
    TimeOut();
    clock.now += 4 * 86400 + 10;
    Fire(TIMER_CLOCK);
    ASSERT_EQ(run().dayIndex, 4);
    clock.now += 77;
    engine.ResetRun();
    EXPECT_EQ(run().dayIndex, 4);
    EXPECT_EQ(run().runStart, clock.now);
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_TRUE(run().targetIp.empty()) << "the next cycle must resolve again";
    EXPECT_TRUE(display.LampVisible(Lamp::TargetDown));
}

}  // namespace
}  // namespace vigilon::test
