// Which replies a real probe takes for an answer, with other hosts played by
// the helper's peers on local addresses of a namespace whose own echo
// answers are off: a host that answers late, a silent one, and forgers.
// Each case runs over the raw socket and over the unprivileged datagram one.

#include <gtest/gtest.h>

#include <regex>

#include "NamespaceFixture.h"

namespace vigilon::test {
namespace {

constexpr const char* kLateHost = "192.0.2.1";
constexpr const char* kSilentHost = "192.0.2.2";
constexpr const char* kElsewhere = "198.51.100.9";

enum class SocketKind { Raw, Datagram };

class ReplyMatchNamespaceTest : public NamespaceTest,
                                public ::testing::WithParamInterface<SocketKind> {
protected:
    void SetUp() override {
        NamespaceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(space->SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
        for (const char* address : {kLateHost, kSilentHost, kElsewhere}) {
            const CommandOutput added =
                space->Exec("ip addr add " + std::string(address) + "/32 dev lo");
            ASSERT_EQ(added.exitCode, 0) << added.output;
        }
        if (GetParam() == SocketKind::Datagram) {
            ASSERT_TRUE(space->SetSysctl("net.ipv4.ping_group_range", "65534 65534"));
        }
    }

    // Fresh probes, one per ping, as the engine makes one per cycle.
    HelperRun Probe(std::vector<std::string> peers, const std::string& hosts, int count) {
        std::vector<std::string> args = std::move(peers);
        if (GetParam() == SocketKind::Datagram) args.insert(args.end(), {"--user", "65534"});
        args.insert(args.end(), {"--fresh-probes", "ping", hosts, "32", std::to_string(count)});
        return Run(args);
    }
};

TEST_P(ReplyMatchNamespaceTest, LateAnswerIsNoAnswerToALaterProbe) {
    // The late host's answer to the first probe arrives while the silent host
    // is probed, and its answer to the third while it is probed once more.
    const HelperRun run =
        Probe({"--answer", std::string(kLateHost) + "@1500"},
              std::string(kLateHost) + "," + kSilentHost + "," + kLateHost + "," + kLateHost, 4);
    ASSERT_EQ(run.results.size(), 4u) << run.output;
    for (const std::string& result : run.results)
        EXPECT_EQ(result, "timed out") << run.output;
    EXPECT_GE(run.answeredSequences.size(), 2u)
        << "the late answers were never sent: " << run.output;
    EXPECT_TRUE(run.boxes.empty()) << run.output;
}

TEST_P(ReplyMatchNamespaceTest, FreshProbesCountFromZeroButNotOnTheWire) {
    // What a fresh probe sends is not what the one before it sent, so its
    // late answer cannot match; the line still shows each probe's count.
    const HelperRun run = Probe({"--answer", std::string(kLateHost) + "@0"}, kLateHost, 3);
    ASSERT_EQ(run.results.size(), 3u) << run.output;
    for (const std::string& result : run.results)
        EXPECT_EQ(result.rfind("64 bytes from 192.0.2.1: icmp_seq = 0.  time: ", 0), 0u) << result;
    const std::vector<int>& wire = run.answeredSequences;
    ASSERT_EQ(wire.size(), 3u) << run.output;
    EXPECT_FALSE(wire[0] == wire[1] && wire[1] == wire[2]) << run.output;
}

TEST_P(ReplyMatchNamespaceTest, ForgedRepliesAreNoAnswersAndTheRealOneStillIs) {
    // For each request: an exact copy from another address, and from the host
    // itself copies with one thing changed (timestamp, data, sequence,
    // identifier, length). Only the late host's own answer, 200 ms later,
    // may count.
    const std::string late = kLateHost;
    const std::string silent = kSilentHost;
    const HelperRun run =
        Probe({"--forge-from", silent + "@" + kElsewhere, "--forge-altered", silent, "--forge-from",
               late + "@" + kElsewhere, "--forge-altered", late, "--answer", late + "@200"},
              silent + "," + late, 2);
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_EQ(run.results[0], "timed out") << run.output;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(
        run.results[1], match,
        std::regex(R"(64 bytes from 192\.0\.2\.1: icmp_seq = 0\.  time: (\d+) ms)")))
        << run.output;
    EXPECT_GE(std::stoi(match[1]), 200) << "a forgery was taken: " << run.output;
    EXPECT_GE(run.forgeriesSent, 4) << run.output;
    EXPECT_TRUE(run.boxes.empty()) << run.output;
}

TEST_P(ReplyMatchNamespaceTest, BlindForgeryForEveryIdentifierCannotHideAnOutage) {
    const HelperRun run = Probe({"--forge-blind", kSilentHost}, kSilentHost, 3);
    ASSERT_EQ(run.results.size(), 3u) << run.output;
    for (const std::string& result : run.results)
        EXPECT_EQ(result, "timed out") << run.output;
    EXPECT_GE(run.forgeriesSent, 1) << "no sweep over the identifiers ended: " << run.output;
}

INSTANTIATE_TEST_SUITE_P(BothSockets, ReplyMatchNamespaceTest,
                         ::testing::Values(SocketKind::Raw, SocketKind::Datagram),
                         [](const auto& info) {
                             return info.param == SocketKind::Raw ? "Raw" : "Datagram";
                         });

}  // namespace
}  // namespace vigilon::test
