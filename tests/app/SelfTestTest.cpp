// What a ping row makes of each probe outcome, against scripted probes.
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

}  // namespace
}  // namespace vigilon::test
