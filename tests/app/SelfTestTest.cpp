// The self-test's order and rows against scripted probes (e-mail off, so no
// server is needed; the SMTP rows run against real servers elsewhere).
#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "RecordingSelfTestView.h"

namespace vigilon::test {
namespace {

using app::SelfTestInputs;
using Strings = std::vector<std::string>;

class SelfTestTest : public ::testing::Test {
protected:
    SelfTestTest() {
        network.addresses["target.example"] = "192.0.2.7";
        network.addresses["control.example"] = "198.51.100.1";
        inputs.targetAddress = "target.example";
        inputs.controlAddress = "control.example";
        inputs.smtpServer1 = "smtp1.example";
        inputs.smtpServer2 = "smtp2.example";
        inputs.mailTo = "ops@example.org";
        inputs.emailEnabled = 0;
    }

    SelfTestTimeline timeline;
    TimelineLog log{timeline};
    RecordingSelfTestView view{timeline};
    FakeNetwork network;
    app::SettingsSelfTest selfTest{network, log};
    SelfTestInputs inputs;
};

TEST_F(SelfTestTest, EmailOffShowsEachPingAsItEndsAndLogsSevenLines) {
    network.Script("198.51.100.1", {"timed out"});
    const app::SelfTestResults results = selfTest.RunTests(inputs, view);

    EXPECT_EQ(Rows(results), (Strings{"PASS", "FAIL", "n/a", "n/a", "n/a", "n/a"}));
    EXPECT_EQ(timeline.events,
              (Strings{"begin", "log: **************** Testing Settings ****************", "show",
                       "show", "show", "log: Target: PASS", "log: Control: FAIL",
                       "log: Ping 1st SMTP: n/a", "log: Ping 2nd SMTP: n/a",
                       "log: Send Email 1st SMTP: n/a", "log: Send Email 2nd SMTP: n/a", "end"}));
    ASSERT_EQ(timeline.shown.size(), 3u);
    EXPECT_EQ(Rows(timeline.shown[0]), (Strings{"PASS", "", "", "", "", ""}));
    EXPECT_EQ(Rows(timeline.shown[1]), (Strings{"PASS", "FAIL", "", "", "", ""}));
    EXPECT_EQ(network.addressLookups, (Strings{"target.example", "control.example"}));
    ASSERT_EQ(network.pings.size(), 2u) << "no SMTP server is pinged";
    EXPECT_EQ(network.pings[0].host, "192.0.2.7");
    EXPECT_EQ(network.pings[1].probe, 2) << "a fresh probe for every test";
    EXPECT_EQ(network.pings[1].sequence, 0);
}

TEST_F(SelfTestTest, OnlyAnAnsweringHostPasses) {
    const std::pair<std::string, std::string> outcomes[] = {
        {"64 bytes from 192.0.2.7: icmp_seq = 0.  time: 3 ms", "PASS"},
        {"timed out", "FAIL"},
        {"WSASocket() failed: 13", "FAIL"},
        {"sendto failed: 101", "FAIL"},
        {"recvfrom failed: 104", "FAIL"},
    };
    for (const auto& [probeResult, row] : outcomes) {
        network.Script("192.0.2.7", {probeResult});
        EXPECT_EQ(selfTest.PingTest("target.example"), row) << probeResult;
    }
    // The lookup's failure text goes to the probe, which cannot resolve it.
    network.Script("Can't resolve nowhere.example", {"Unable to resolve Can't resolve nowhere.example"});
    EXPECT_EQ(selfTest.PingTest("nowhere.example"), "FAIL");
    EXPECT_EQ(network.pings.back().host, "Can't resolve nowhere.example");
}

}  // namespace
}  // namespace vigilon::test
