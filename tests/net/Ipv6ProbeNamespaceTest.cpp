// The monitor's probe against IPv6 hosts in private network namespaces,
// over the raw socket and, as a user of the ping groups, over the datagram
// one: the loopback and a veth neighbour answer, a silent host, a router
// that answers "unreachable", and forgers played by the helper's peers on
// local addresses of a namespace whose own echo answers are off.

#include <gtest/gtest.h>

#include <regex>

#include "NamespaceFixture.h"

namespace vigilon::test {
namespace {

constexpr const char* kLateHost = "2001:db8::1";
constexpr const char* kSilentHost = "2001:db8::2";
constexpr const char* kElsewhere = "2001:db8:ff::9";

enum class SocketKind { Raw, Datagram };

// "N bytes from ADDRESS: icmp_seq = S.  time: T ms" with T captured.
std::regex ReplyLine(int bytes, const std::string& address, int sequence) {
    return std::regex(std::to_string(bytes) + " bytes from " + address +
                      ": icmp_seq = " + std::to_string(sequence) + R"(\.  time: (\d+) ms)");
}

class Ipv6ProbeNamespaceTest : public NamespaceTest,
                               public ::testing::WithParamInterface<SocketKind> {
protected:
    void SetUp() override {
        NamespaceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (GetParam() == SocketKind::Datagram) {
            // One range for both families.
            ASSERT_TRUE(space->SetSysctl("net.ipv4.ping_group_range", "65534 65534"));
        }
    }

    static void Must(const NetNamespace& where, const std::string& command) {
        const CommandOutput out = where.Exec(command);
        ASSERT_EQ(out.exitCode, 0) << command << ": " << out.output;
    }

    // The peers' hosts on the loopback, where the namespace answers no echo.
    void PlayHosts() {
        ASSERT_TRUE(space->SetSysctl("net.ipv6.icmp.echo_ignore_all", "1"));
        for (const char* address : {kLateHost, kSilentHost, kElsewhere})
            Must(*space, "ip addr add " + std::string(address) + "/128 dev lo nodad");
    }

    // Fresh probes, one per ping, as the engine makes one per cycle.
    HelperRun Probe(std::vector<std::string> peers, const std::string& hosts, int count,
                    const std::string& dataSize = "32") {
        std::vector<std::string> args = std::move(peers);
        if (GetParam() == SocketKind::Datagram) args.insert(args.end(), {"--user", "65534"});
        args.insert(args.end(), {"--fresh-probes", "ping", hosts, dataSize, std::to_string(count)});
        return Run(args);
    }
};

TEST_P(Ipv6ProbeNamespaceTest, AnswersCountTheMessageAndTheFortyByteHeader) {
    const HelperRun loopback = Probe({}, "::1", 2);
    ASSERT_EQ(loopback.results.size(), 2u) << loopback.output;
    for (const std::string& result : loopback.results)
        EXPECT_TRUE(std::regex_match(result, ReplyLine(84, "::1", 0))) << result;
    EXPECT_TRUE(loopback.boxes.empty()) << loopback.output;
    EXPECT_GE(loopback.elapsedMs[0], 450) << "an answer is followed by the pause";

    // A neighbour over a veth link, named in a long form: the line shows the
    // shortest.
    NetNamespace neighbour;
    ASSERT_TRUE(neighbour.Ok()) << neighbour.Error();
    ASSERT_EQ(JoinByVeth(*space, "2001:db8:5::2/64", neighbour, "2001:db8:5::1/64"), "");
    const HelperRun far = Probe({}, "2001:0db8:0005:0:0:0:0:1", 1, "100");
    ASSERT_EQ(far.results.size(), 1u) << far.output;
    EXPECT_TRUE(std::regex_match(far.results[0], ReplyLine(152, "2001:db8:5::1", 0)))
        << far.results[0];
}

TEST_P(Ipv6ProbeNamespaceTest, SilentHostTimesOutAfterAboutASecondWithoutABox) {
    ASSERT_TRUE(space->SetSysctl("net.ipv6.icmp.echo_ignore_all", "1"));
    const HelperRun run = Probe({}, "::1", 1);
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "timed out");
    EXPECT_TRUE(run.boxes.empty()) << run.output;
    EXPECT_GE(run.elapsedMs[0], 900);
    EXPECT_LE(run.elapsedMs[0], 3000);
}

TEST_P(Ipv6ProbeNamespaceTest, ForgedRepliesAreNoAnswersAndTheRealOneStillIs) {
    // For each request: an exact copy from another address, and from the host
    // itself copies with one thing changed (timestamp, data, sequence,
    // identifier, length). Only the late host's own answer, 200 ms later,
    // may count.
    PlayHosts();
    const std::string late = kLateHost;
    const std::string silent = kSilentHost;
    const HelperRun run =
        Probe({"--forge-from", silent + "@" + kElsewhere, "--forge-altered", silent, "--forge-from",
               late + "@" + kElsewhere, "--forge-altered", late, "--answer", late + "@200"},
              silent + "," + late, 2);
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_EQ(run.results[0], "timed out") << run.output;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(run.results[1], match, ReplyLine(84, late, 0))) << run.output;
    EXPECT_GE(std::stoi(match[1]), 200) << "a forgery was taken: " << run.output;
    EXPECT_GE(run.forgeriesSent, 4) << run.output;
    EXPECT_TRUE(run.boxes.empty()) << run.output;
}

TEST_P(Ipv6ProbeNamespaceTest, BlindForgeryForEveryIdentifierCannotHideAnOutage) {
    PlayHosts();
    const HelperRun run = Probe({"--forge-blind", kSilentHost}, kSilentHost, 2);
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    for (const std::string& result : run.results)
        EXPECT_EQ(result, "timed out") << run.output;
    EXPECT_GE(run.forgeriesSent, 1) << "no sweep over the identifiers ended: " << run.output;
}

TEST_P(Ipv6ProbeNamespaceTest, RoutersUnreachableIsATimeOutAndNoRouteALocalFailure) {
    // The client reaches 2001:db8:7::/64 through its neighbour 2001:db8:5::1,
    // a router whose route there is unreachable: it answers each request
    // with an ICMPv6 error quoting it, which is no answer.
    NetNamespace router;
    ASSERT_TRUE(router.Ok()) << router.Error();
    ASSERT_EQ(JoinByVeth(*space, "2001:db8:5::2/64", router, "2001:db8:5::1/64"), "");
    Must(*space, "ip route add 2001:db8:7::/64 via 2001:db8:5::1");
    ASSERT_TRUE(router.SetSysctl("net.ipv6.conf.all.forwarding", "1"));
    ASSERT_TRUE(router.SetSysctl("net.ipv6.icmp.ratelimit", "0"));
    Must(router, "ip route add unreachable 2001:db8:7::/64");

    const HelperRun run = Probe({}, "2001:db8:7::9", 2);
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    for (std::size_t i = 0; i < run.results.size(); ++i) {
        EXPECT_EQ(run.results[i], "timed out") << run.output;
        EXPECT_GE(run.elapsedMs[i], 900) << "the error ended the wait: " << run.output;
    }
    EXPECT_TRUE(run.boxes.empty()) << run.output;
    const std::string counters = router.Exec("cat /proc/net/snmp6").output;
    std::smatch sent;
    ASSERT_TRUE(std::regex_search(counters, sent, std::regex(R"(Icmp6OutDestUnreachs\s+(\d+))")));
    EXPECT_GE(std::stoi(sent[1]), 2) << "the router sent no errors";

    const HelperRun nowhere = Probe({}, "2001:db8:9::9", 1);
    ASSERT_EQ(nowhere.results.size(), 1u) << nowhere.output;
    EXPECT_EQ(nowhere.results[0], "sendto failed: 101");  // ENETUNREACH
    EXPECT_EQ(nowhere.boxes, std::vector<std::string>{"sendto failed: 101"});
}

INSTANTIATE_TEST_SUITE_P(BothSockets, Ipv6ProbeNamespaceTest,
                         ::testing::Values(SocketKind::Raw, SocketKind::Datagram),
                         [](const auto& info) {
                             return info.param == SocketKind::Raw ? "Raw" : "Datagram";
                         });

TEST_F(NamespaceTest, Ipv6UserOutsideThePingGroupsGetsTheSocketError) {
    ASSERT_TRUE(space->SetSysctl("net.ipv4.ping_group_range", "1 0"));
    const HelperRun run = Run({"--user", "65534", "ping", "::1", "32", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "WSASocket() failed: 13");  // EACCES
    EXPECT_EQ(run.boxes, std::vector<std::string>{"WSASocket() failed: 13"});
}

}  // namespace
}  // namespace vigilon::test
