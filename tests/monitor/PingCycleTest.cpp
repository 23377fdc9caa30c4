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
    EXPECT_TRUE(alerts.deliveries.empty());

    network.Script(kControl, {"64 bytes from 198.51.100.1: icmp_seq = 1.  time: 9 ms"});
    TimeOut();
    ASSERT_EQ(alerts.deliveries.size(), 1u);
    EXPECT_EQ(alerts.deliveries[0].lastResult, "timed out");
    EXPECT_EQ(alerts.deliveries[0].controlResult,
              "64 bytes from 198.51.100.1: icmp_seq = 1.  time: 9 ms");
    EXPECT_TRUE(run().alertSent);
    EXPECT_TRUE(run().controlResult.empty()) << "the control result lives for one cycle";

    for (int i = 0; i < 7; ++i) TimeOut();
    EXPECT_EQ(alerts.deliveries.size(), 1u) << "no repeat during the outage";
    EXPECT_EQ(ControlPings(), 1);
    EXPECT_EQ(run().targetTimeouts, 10);

    Answer();
    ASSERT_EQ(alerts.deliveries.size(), 2u);
    EXPECT_NE(alerts.deliveries[1].lastResult, "timed out");
    EXPECT_EQ(ControlPings(), 2);
    EXPECT_FALSE(run().alertSent);
    Answer();
    EXPECT_EQ(alerts.deliveries.size(), 2u) << "one recovery mail only";

    TimeOut();
    TimeOut();
    EXPECT_EQ(alerts.deliveries.size(), 2u);
    TimeOut();
    EXPECT_EQ(alerts.deliveries.size(), 3u) << "a new outage needs K time-outs again";
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
    engine.Settings().timeoutsBeforeEmail = 1;
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
        engine.Settings().timeoutsBeforeEmail = k;
        alerts.deliveries.clear();
        TimeOut();
        EXPECT_EQ(alerts.deliveries.size(), 1u) << "K = " << k;
        TimeOut();
        EXPECT_EQ(alerts.deliveries.size(), 1u) << "K = " << k;
    }
}

TEST_F(PingCycle, AnOutageShorterThanKSendsNothingAndNeverProbesTheControl) {
    TimeOut();
    TimeOut();
    Answer();
    EXPECT_EQ(run().targetTimeouts, 2);
    EXPECT_EQ(run().controlTimeouts, 0);
    EXPECT_EQ(ControlPings(), 0);
    EXPECT_TRUE(alerts.deliveries.empty());
    TimeOut();
    TimeOut();
    EXPECT_TRUE(alerts.deliveries.empty()) << "an answer restarts the count";
}

TEST_F(PingCycle, AFailureTextCountsAsAnAnswer) {
    Cycle("sendto failed: 101");
    EXPECT_FALSE(run().targetDown);
    EXPECT_EQ(run().lastResult, "sendto failed: 101");
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
}

TEST_F(PingCycle, ResolvesOncePerRunAndProbesAFailedLookupText) {
    engine.Settings().targetAddress = "nowhere.invalid";
    engine.ToggleMonitoring();
    engine.ToggleMonitoring();
    Answer();
    Answer();
    EXPECT_EQ(network.addressLookups, std::vector<std::string>{"nowhere.invalid"});
    EXPECT_EQ(network.nameLookups, std::vector<std::string>{"Can't resolve nowhere.invalid"});
    EXPECT_EQ(network.pings.back().host, "Can't resolve nowhere.invalid");
    EXPECT_EQ(run().ipToName, "name-of-Can't resolve nowhere.invalid");
}

}  // namespace
}  // namespace vigilon::test
