// What the engine tells an observer (the metrics) through an outage, its
// alert and recovery mails and a name that does not resolve.
#include <gmock/gmock.h>

#include "EngineFixture.h"

namespace vigilon::test {
namespace {

class RecordingObserver : public RunObserver {
public:
    void TargetProbed(const TargetProbeFigures& probe) override {
        probes.push_back(probe);
        calls.push_back(probe.answered ? "target answered" : "target silent");
    }
    void ControlProbed(bool answered) override {
        calls.push_back(answered ? "control answered" : "control silent");
    }
    void MailAttempted(bool delivered) override {
        calls.push_back(delivered ? "mail delivered" : "mail failed");
    }
    void StateChanged(bool alertActive, int mailsWaiting) override {
        calls.push_back("state alert=" + std::to_string(alertActive) +
                        " waiting=" + std::to_string(mailsWaiting));
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::vector<TargetProbeFigures> probes;
    std::vector<std::string> calls;
};

class RunObserverTest : public EngineTest {
protected:
    RunObserverTest() {
        engine.Observe(&observer);
        engine.ToggleMonitoring();
    }
    RecordingObserver observer;
};

TEST_F(RunObserverTest, TellsEveryProbeMailAndChangeOfStateInOrder) {
    Answer();
    EXPECT_THAT(observer.Take(),
                ::testing::ElementsAre("target answered", "state alert=0 waiting=0"));
    const TargetProbeFigures& first = observer.probes.back();
    EXPECT_TRUE(first.resolved);
    EXPECT_EQ(first.roundTripUs, 1500);
    EXPECT_EQ(first.hopLimit, 57);
    EXPECT_GE(first.durationUs, first.resolveUs + 1500) << "the lookup and the round trip";

    TimeOut();
    TimeOut();
    EXPECT_EQ(observer.probes.back().roundTripUs, -1) << "a silent target has no round trip";
    EXPECT_EQ(observer.probes.back().hopLimit, -1);
    EXPECT_EQ(observer.probes.back().resolveUs, 0) << "the address was known";
    observer.Take();
    network.Script(kControl, {"timed out"});
    TimeOut();  // the third: the alert
    EXPECT_THAT(observer.Take(), ::testing::ElementsAre("target silent", "control silent",
                                                        "state alert=1 waiting=1"));
    alerts.Failed("smtp.example", "refused");
    EXPECT_THAT(observer.Take(), ::testing::ElementsAre("mail failed", "state alert=1 waiting=1"));

    network.Script(kControl, {"64 bytes from control.example: icmp_seq = 0.  time: 1 ms"});
    Answer();  // the recovery
    EXPECT_THAT(observer.Take(), ::testing::ElementsAre("target answered", "control answered",
                                                        "state alert=0 waiting=2"));
    alerts.Delivered("smtp.example");
    EXPECT_THAT(observer.Take(),
                ::testing::ElementsAre("mail delivered", "state alert=0 waiting=1"));
}

TEST_F(RunObserverTest, ANameThatDoesNotResolveSendsNoRequest) {
    network.addresses.clear();
    Fire(TIMER_PING);
    ASSERT_EQ(observer.probes.size(), 1u);
    EXPECT_FALSE(observer.probes[0].resolved);
    EXPECT_FALSE(observer.probes[0].answered);
    EXPECT_EQ(network.PingsTo(kTargetIp), 0);
}

}  // namespace
}  // namespace vigilon::test
