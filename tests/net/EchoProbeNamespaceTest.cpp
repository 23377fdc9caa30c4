// Real echo exchanges inside a private network namespace.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "NamespaceFixture.h"

namespace vigilon::test {
namespace {

MATCHER_P2(IsReplyLine, bytes, sequence, "") {
    const std::regex line(std::to_string(bytes) + R"( bytes from 127\.0\.0\.1: icmp_seq = )" +
                          std::to_string(sequence) + R"(\.  time: \d+ ms)");
    return std::regex_match(arg, line);
}

int RoundTripMs(const std::string& line) {
    const auto at = line.rfind("time: ");
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + 6));
}

using EchoProbeNamespaceTest = NamespaceTest;

TEST_F(EchoProbeNamespaceTest, LoopbackAnswersWithTheReplyLine) {
    const HelperRun run = Run({"ping", "127.0.0.1", "32", "2"});
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_THAT(run.results[0], IsReplyLine(64, 0));
    EXPECT_THAT(run.results[1], IsReplyLine(64, 1));
    EXPECT_TRUE(run.boxes.empty()) << run.output;
    // An answered probe pauses half a second before it returns.
    EXPECT_GE(run.elapsedMs[0], 450) << run.output;
}

TEST_F(EchoProbeNamespaceTest, EachNewProbeStartsAtSequenceZero) {
    const HelperRun run = Run({"--fresh-probes", "ping", "127.0.0.1", "32", "2"});
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_THAT(run.results[0], IsReplyLine(64, 0));
    EXPECT_THAT(run.results[1], IsReplyLine(64, 0));
}

TEST_F(EchoProbeNamespaceTest, DataSizeSetsTheMessageLength) {
    const HelperRun standard = Run({"ping", "127.0.0.1", "0", "1"});
    ASSERT_EQ(standard.results.size(), 1u) << standard.output;
    EXPECT_THAT(standard.results[0], IsReplyLine(64, 0));
    const HelperRun longer = Run({"ping", "127.0.0.1", "100", "1"});
    ASSERT_EQ(longer.results.size(), 1u) << longer.output;
    EXPECT_THAT(longer.results[0], IsReplyLine(132, 0));
}

TEST_F(EchoProbeNamespaceTest, DataSizeBeyondTheBufferIsRefusedBeforeSending) {
    for (const char* size : {"-1", "1013"}) {
        const HelperRun run = Run({"ping", "127.0.0.1", size, "1"});
        ASSERT_EQ(run.results.size(), 1u) << run.output;
        EXPECT_EQ(run.results[0], "sendto failed: 90") << size;  // EMSGSIZE
        EXPECT_EQ(run.boxes, std::vector<std::string>{"sendto failed: 90"}) << size;
    }
}

TEST_F(EchoProbeNamespaceTest, LargestDataSizeIsRefusedWithoutOverflow) {
    // Adding the header to it would overflow: the range is checked first.
    const HelperRun run = Run({"ping", "127.0.0.1", "2147483647", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "sendto failed: 90");  // EMSGSIZE
}

TEST_F(EchoProbeNamespaceTest, SilentHostTimesOutAfterAboutASecondWithoutABox) {
    ASSERT_TRUE(space->SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
    const HelperRun run = Run({"ping", "127.0.0.1", "32", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "timed out");
    EXPECT_TRUE(run.boxes.empty()) << run.output;
    EXPECT_GE(run.elapsedMs[0], 900);
    EXPECT_LE(run.elapsedMs[0], 3000);
}

TEST_F(EchoProbeNamespaceTest, OwnReplyIsFoundAmidOtherEchoTraffic) {
    // The helper's second process answers 150 ms late, with other programs'
    // requests and replies (also ones with our identifier) arriving first.
    ASSERT_TRUE(space->SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
    const HelperRun run = Run({"--flood", "ping", "127.0.0.1", "32", "3"});
    ASSERT_TRUE(run.floodSeen) << "the flood never reached a raw socket: " << run.output;
    ASSERT_EQ(run.results.size(), 3u) << run.output;
    for (int i = 0; i < 3; ++i) {
        EXPECT_THAT(run.results[i], IsReplyLine(64, i));
        EXPECT_GE(RoundTripMs(run.results[i]), 150) << run.results[i];
    }
    EXPECT_TRUE(run.boxes.empty()) << run.output;
}

TEST_F(EchoProbeNamespaceTest, UnprivilegedUserPingsThroughTheDatagramSocket) {
    ASSERT_TRUE(space->SetSysctl("net.ipv4.ping_group_range", "65534 65534"));
    const HelperRun run = Run({"--user", "65534", "ping", "127.0.0.1", "32", "2"});
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_THAT(run.results[0], IsReplyLine(64, 0));
    EXPECT_THAT(run.results[1], IsReplyLine(64, 1));
    EXPECT_TRUE(run.boxes.empty()) << run.output;
}

TEST_F(EchoProbeNamespaceTest, UserOutsideThePingGroupsGetsTheSocketError) {
    ASSERT_TRUE(space->SetSysctl("net.ipv4.ping_group_range", "1 0"));
    const HelperRun run = Run({"--user", "65534", "ping", "127.0.0.1", "32", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "WSASocket() failed: 13");  // EACCES
    EXPECT_EQ(run.boxes, std::vector<std::string>{"WSASocket() failed: 13"});
}

TEST_F(EchoProbeNamespaceTest, MissingRouteIsALocalSendFailure) {
    const HelperRun run = Run({"ping", "10.9.9.9", "32", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "sendto failed: 101");  // ENETUNREACH
    EXPECT_EQ(run.boxes, std::vector<std::string>{"sendto failed: 101"});
}

}  // namespace
}  // namespace vigilon::test
