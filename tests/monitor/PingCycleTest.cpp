#include "EngineFixture.h"

namespace vigilon::test {
namespace {

class PingCycle : public EngineTest {
protected:
    void SetUp() override { engine.ToggleMonitoring(); }
    int ControlPings() const { return network.PingsTo(kControl); }
};

TEST_F(PingCycle, AnsweredCyclePausesAndWaitsTheFullPeriod) {
    Answer();
    EXPECT_EQ(pause.waits, std::vector<std::uint32_t>{500});
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
    EXPECT_EQ(run().countdown, 30);
    EXPECT_EQ(run().pingNumberText, "1");
    EXPECT_EQ(display.tray, TrayState::TargetOnline);
    EXPECT_EQ(display.progress, (std::vector<int>{25, 50, 75, 100, 0}));
    EXPECT_TRUE(eventLog.lines.size() == 1) << "answered probes write nothing";
}

TEST_F(PingCycle, TimeOutSwitchesToTheFiveSecondRhythmWithoutPause) {
    TimeOut();
    EXPECT_TRUE(pause.waits.empty());
    EXPECT_EQ(timers.Period(TIMER_PING), 5000u);
    EXPECT_EQ(run().countdown, 5);
    EXPECT_TRUE(display.LampVisible(Lamp::TargetDown));
    EXPECT_FALSE(display.LampVisible(Lamp::Online));
    EXPECT_EQ(display.tray, TrayState::TargetOffline);
    EXPECT_EQ(run().lastResult, "timed out");

    Answer();
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
    EXPECT_TRUE(display.LampVisible(Lamp::Online));
    EXPECT_FALSE(display.LampVisible(Lamp::TargetDown));
    EXPECT_EQ(display.tray, TrayState::TargetOnline);
}

TEST_F(PingCycle, TheKthTimeOutAlertsOnceAndTheFirstAnswerRecoversOnce) {
    TimeOut();
    TimeOut();
    EXPECT_EQ(ControlPings(), 0);
    EXPECT_TRUE(alerts.events.empty());

    network.Script(kControl, {"64 bytes from 198.51.100.1: icmp_seq = 1.  time: 9 ms"});
    TimeOut();
    ASSERT_EQ(alerts.events.size(), 1u);
    EXPECT_EQ(alerts.events[0].targetResult, "timed out");
    EXPECT_EQ(alerts.events[0].controlResult,
              "64 bytes from 198.51.100.1: icmp_seq = 1.  time: 9 ms");
    EXPECT_TRUE(run().alertSent);
    EXPECT_TRUE(run().controlResult.empty()) << "the control result lives for one cycle";

    for (int i = 0; i < 7; ++i)
        TimeOut();
    EXPECT_EQ(alerts.events.size(), 1u) << "no repeat during the outage";
    EXPECT_EQ(ControlPings(), 1);
    EXPECT_EQ(run().targetTimeouts, 10);

    Answer();
    ASSERT_EQ(alerts.events.size(), 2u);
    EXPECT_NE(alerts.events[1].targetResult, "timed out");
    EXPECT_EQ(ControlPings(), 2);
    EXPECT_FALSE(run().alertSent);
    Answer();
    EXPECT_EQ(alerts.events.size(), 2u) << "one recovery mail only";

    TimeOut();
    TimeOut();
    EXPECT_EQ(alerts.events.size(), 2u);
    TimeOut();
    EXPECT_EQ(alerts.events.size(), 3u) << "a new outage needs K time-outs again";
}

TEST_F(PingCycle, AnOutageStartsAtItsFirstTimeOut) {
    clock.now += 30;
    const std::int64_t firstTimeOut = clock.now;
    TimeOut();
    for (int i = 0; i < 4; ++i) {
        clock.now += 5;
        TimeOut();
    }
    EXPECT_EQ(run().outageStart, firstTimeOut) << "later time-outs of the outage keep it";
    Answer();
    clock.now += 30;
    TimeOut();
    EXPECT_EQ(run().outageStart, clock.now) << "the next outage has its own";
    engine.ToggleMonitoring();
    engine.ToggleMonitoring();
    EXPECT_EQ(run().outageStart, 0) << "a new run has no outage";
}

TEST_F(PingCycle, ControlProbeSharesTheCyclesProbeAndCountsItsTimeOut) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    network.Script(kControl, {"timed out"});
    TimeOut();
    ASSERT_EQ(network.pings.size(), 2u);
    EXPECT_EQ(network.pings[0].host, kTargetIp) << "the probe goes to the resolved address";
    EXPECT_EQ(network.pings[1].host, kControl);
    EXPECT_EQ(network.pings[1].probe, network.pings[0].probe);
    EXPECT_EQ(network.pings[1].sequence, 1);
    EXPECT_EQ(run().controlTimeouts, 1);
    EXPECT_EQ(run().controlTimeoutsText, "1");
}

TEST_F(PingCycle, ThresholdsOfOneOrLessAlertOnTheFirstTimeOut) {
    for (std::int32_t k : {1, 0, -5, INT32_MIN}) {
        engine.ToggleMonitoring();
        engine.ToggleMonitoring();
        Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = k; });
        alerts.events.clear();
        TimeOut();
        EXPECT_EQ(alerts.events.size(), 1u) << "K = " << k;
        TimeOut();
        EXPECT_EQ(alerts.events.size(), 1u) << "K = " << k;
    }
}

TEST_F(PingCycle, AnOutageShorterThanKSendsNothingAndNeverProbesTheControl) {
    TimeOut();
    TimeOut();
    Answer();
    EXPECT_EQ(run().targetTimeouts, 2);
    EXPECT_EQ(run().controlTimeouts, 0);
    EXPECT_EQ(ControlPings(), 0);
    EXPECT_TRUE(alerts.events.empty());
    TimeOut();
    TimeOut();
    EXPECT_TRUE(alerts.events.empty()) << "an answer restarts the count";
}

TEST_F(PingCycle, OnlyAnEchoReplyAnswersAndLocalFailuresAreReported) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 2; });
    Cycle("sendto failed: 101");
    EXPECT_TRUE(run().targetDown);
    EXPECT_EQ(run().lastResult, "sendto failed: 101");
    EXPECT_EQ(timers.Period(TIMER_PING), 5000u);
    EXPECT_EQ(eventLog.lines.back(), "target.example :: sendto failed: 101");
    EXPECT_EQ(problems.reported, std::vector<std::string>{"sendto failed: 101"});

    Cycle("non-echo type 3 recvd");  // a router's "unreachable" is no answer either
    EXPECT_EQ(run().targetTimeouts, 2);
    ASSERT_EQ(alerts.events.size(), 1u) << "the alert counts every kind of silence";
    EXPECT_EQ(alerts.events[0].kind, AlertKind::Alert);
    EXPECT_EQ(alerts.events[0].targetResult, "non-echo type 3 recvd");
    EXPECT_EQ(problems.reported.size(), 1u) << "only this machine's own failures are reported";
}

TEST_F(PingCycle, AnUnresolvedTargetIsLookedUpEveryCycleAndNeverProbed) {
    Configure([&](MonitorSettings& s) { s.targetAddress = "later.example"; });
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 2; });
    engine.ToggleMonitoring();
    engine.ToggleMonitoring();
    TimeOut();
    TimeOut();
    EXPECT_EQ(network.addressLookups, (std::vector<std::string>{"later.example", "later.example"}));
    EXPECT_TRUE(network.nameLookups.empty()) << "no reverse lookup of a failure text";
    EXPECT_EQ(network.PingsTo(kControl), 1) << "only the control host is probed";
    EXPECT_EQ(network.pings.size(), 1u);
    EXPECT_EQ(run().targetIp, "");
    EXPECT_EQ(run().lastResult, "Can't resolve later.example");
    EXPECT_EQ(eventLog.lines.back(), "later.example :: Can't resolve later.example");
    ASSERT_EQ(alerts.events.size(), 1u);
    EXPECT_EQ(problems.reported.front(), "Can't resolve later.example");
    EXPECT_EQ(display.progress, (std::vector<int>{25, 50, 75, 100, 0, 25, 50, 75, 100, 0}));

    network.addresses["later.example"] = "192.0.2.9";
    Cycle("64 bytes from 192.0.2.9: icmp_seq = 0.  time: 2 ms");
    EXPECT_EQ(run().targetIp, "192.0.2.9");
    EXPECT_EQ(run().ipToName, "name-of-192.0.2.9");
    EXPECT_FALSE(run().targetDown);
    ASSERT_EQ(alerts.events.size(), 2u);
    EXPECT_EQ(alerts.events[1].kind, AlertKind::Recovery);
    Answer();
    EXPECT_EQ(network.addressLookups.size(), 3u) << "a resolved address is kept for the run";
}

TEST_F(PingCycle, ATimerFiringWhileACycleIsOutStartsNoSecondOne) {
    work.hold = true;
    Fire(TIMER_PING);
    EXPECT_TRUE(engine.CycleInFlight());
    engine.OnTimer(TIMER_PING);  // a timer armed meanwhile, by a settings edit say
    EXPECT_EQ(run().pingNumber, 1);
    EXPECT_EQ(work.held.size(), 1u);
    while (work.RunHeld()) {}
    EXPECT_FALSE(engine.CycleInFlight());
    EXPECT_EQ(network.pings.size(), 1u);
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u) << "the cycle under way armed the next";
}

TEST_F(PingCycle, DeliveriesAreCountedAndLoggedWhenTheyEnd) {
    Configure([&](MonitorSettings& s) { s.timeoutsBeforeEmail = 1; });
    TimeOut();
    ASSERT_EQ(alerts.events.size(), 1u);
    EXPECT_EQ(run().emailsSent, 0) << "nothing is counted before a server takes it";
    const std::size_t before = eventLog.lines.size();
    alerts.Failed("smtp1.example", "Unable to connect to server");
    alerts.Delivered("smtp2.example");
    EXPECT_EQ(run().lastError, "SMTP smtp1.example Unable to connect to server");
    EXPECT_EQ(run().emailsSent, 1);
    EXPECT_EQ(display.shownEmails, "1");
    const std::vector<std::string> lines(eventLog.lines.begin() + before, eventLog.lines.end());
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "SMTP smtp1.example Unable to connect to server",
                  "EMAIL TO: " + engine.Settings().mailTo + " (through) smtp2.example",
                  "MESSAGE: target.example : OFFLINE : timed out",
                  "Control Ping: 64 bytes from control.example: icmp_seq = 0.  time: 1 ms"}));
}

}  // namespace
}  // namespace vigilon::test
