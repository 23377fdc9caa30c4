// What a ping row makes of each probe outcome, and the rows of server
// fields that cannot be used, against scripted probes.
#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "RecordingLog.h"
#include "SettingsSelfTest.h"

namespace vigilon::test {
namespace {

TEST(SelfTestPing, OnlyAnAnsweringHostPasses) {
    FakeNetwork network;
    RecordingLog log;
    app::SettingsSelfTest selfTest(network, log);
    network.addresses["target.example"] = "192.0.2.7";
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
    // A name that does not resolve fails without a probe of its failure text.
    const std::size_t pings = network.pings.size();
    EXPECT_EQ(selfTest.PingTest("nowhere.example"), "FAIL");
    EXPECT_EQ(network.pings.size(), pings);
    EXPECT_EQ(network.probesMade, 6) << "a fresh probe for every test";
    EXPECT_TRUE(log.lines.empty());
}

class SilentView : public app::SelfTestView {
    void BeginRun() override {}
    void ShowResults(const app::SelfTestResults&) override {}
    void EndRun() override {}
};

TEST(SelfTestServerRows, AnUnusableUrlFailsBothRowsWithoutAPingAndSaysWhy) {
    FakeNetwork network;
    RecordingLog log;
    app::SettingsSelfTest selfTest(network, log);
    SilentView view;
    network.addresses["target.example"] = "192.0.2.7";
    network.addresses["control.example"] = "192.0.2.8";
    app::SelfTestInputs inputs;
    inputs.targetAddress = "target.example";
    inputs.controlAddress = "control.example";
    inputs.smtpServer1 = "smtp://:99999";
    inputs.smtpServer2 = "smtps://me:secret@h#x";
    inputs.mailTo = "ops@example.org";
    inputs.mailFrom = "Vigilon";
    inputs.emailEnabled = 1;

    const app::SelfTestResults r = selfTest.RunTests(inputs, view);

    EXPECT_EQ(r.targetPingResult, "PASS");
    EXPECT_EQ(r.controlPingResult, "PASS");
    EXPECT_EQ(r.smtp1PingResult, "FAIL");
    EXPECT_EQ(r.smtp2PingResult, "FAIL");
    EXPECT_EQ(r.smtp1MailResult, "FAIL");
    EXPECT_EQ(r.smtp2MailResult, "FAIL");
    EXPECT_EQ(network.addressLookups,
              (std::vector<std::string>{"target.example", "control.example"}));
    EXPECT_EQ(network.pings.size(), 2u);
    ASSERT_GE(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[1], "SMTP smtp://:99999 Invalid server address: the host is missing");
    EXPECT_EQ(log.lines[2],
              "SMTP smtps://me@h#x Invalid server address: the host may hold only letters, digits, "
              "'.', '-' and '_', not '#'");
}

}  // namespace
}  // namespace vigilon::test
