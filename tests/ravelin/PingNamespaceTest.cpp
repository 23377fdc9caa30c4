// Ravelin's runs against real hosts: the loopback address and veth
// neighbours in private network namespaces, a silent host and a router that
// answers "unreachable". Each runs over the raw socket and, as a user of
// the ping groups, over the datagram socket.

#include <gtest/gtest.h>

#include <regex>

#include "PingNamespaceFixture.h"

namespace vigilon::test {
namespace {

TEST_P(PingNamespaceTest, LoopbackRepliesInSequenceWithTheirTtl) {
    const HelperRun run = Ping("127.0.0.1", "0.2", 3);
    EXPECT_EQ(run.started, GetParam() == SocketKind::Raw ? "127.0.0.1 raw" : "127.0.0.1 datagram");
    ASSERT_EQ(run.records.size(), 3u) << run.output;
    for (unsigned i = 0; i < 3; ++i) {
        const Record& record = run.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::Reply) << run.output;
        EXPECT_EQ(record.sequence, i + 1);
        EXPECT_EQ(record.ttl, 64);
        EXPECT_EQ(record.bytes, 64);
        EXPECT_GT(record.roundTripUs, 0);
        EXPECT_LT(record.roundTripUs, 200000);
        EXPECT_TRUE(std::regex_match(
            record.line, std::regex("64 bytes from 127\\.0\\.0\\.1: icmp_seq=" +
                                    std::to_string(i + 1) + R"( ttl=64 time=\d+\.\d+ ms)")))
            << record.line;
    }
}

TEST_P(PingNamespaceTest, VethNeighbourRepliesWithItsOwnTtl) {
    const std::unique_ptr<NetNamespace> neighbour = Neighbour();
    ASSERT_TRUE(neighbour->SetSysctl("net.ipv4.ip_default_ttl", "77"));
    const HelperRun run = Ping("192.0.2.1", "0.2", 3);
    ASSERT_EQ(run.records.size(), 3u) << run.output;
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_EQ(run.records[i].outcome, EchoOutcome::Reply) << run.output;
        EXPECT_EQ(run.records[i].sequence, i + 1);
        EXPECT_EQ(run.records[i].ttl, 77);
        EXPECT_EQ(
            run.records[i].line.rfind(
                "64 bytes from 192.0.2.1: icmp_seq=" + std::to_string(i + 1) + " ttl=77 time=", 0),
            0u)
            << run.records[i].line;
    }
}

TEST_P(PingNamespaceTest, SilentHostTimesOutAtTheIntervalNotOncePerWait) {
    ASSERT_TRUE(client->SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
    const HelperRun run = Ping("127.0.0.1", "0.2", 6);
    ASSERT_EQ(run.records.size(), 6u) << run.output;
    for (unsigned i = 0; i < run.records.size(); ++i) {
        const Record& record = run.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::TimedOut) << run.output;
        EXPECT_EQ(record.line, "Request timeout for icmp_seq=" + std::to_string(i + 1));
        // Each waited its two seconds, give or take a loaded machine...
        EXPECT_GE(record.settledMs - record.sentMs, 1900) << run.output;
        EXPECT_LE(record.settledMs - record.sentMs, 3500) << run.output;
        if (i == 0) continue;
        // ...while the requests kept going out, and so the time-outs came,
        // a fifth of a second apart.
        const Record& before = run.records[i - 1];
        EXPECT_GE(record.sentMs - before.sentMs, 150) << run.output;
        EXPECT_LE(record.sentMs - before.sentMs, 400) << run.output;
        EXPECT_LE(record.settledMs - before.settledMs, 600) << run.output;
    }
    EXPECT_LE(run.records.back().settledMs - run.records.front().settledMs, 2000) << run.output;
}

// The client reaches 198.51.100.0/24 through its neighbour 192.0.2.1, a
// router whose route there is of the given type.
class RouterNamespaceTest : public PingNamespaceTest {
protected:
    void RouteThroughRouter(const std::string& routeType) {
        router = Neighbour();
        Run(*client, "ip route add 198.51.100.0/24 via 192.0.2.1");
        ASSERT_TRUE(router->SetSysctl("net.ipv4.ip_forward", "1"));
        ASSERT_TRUE(router->SetSysctl("net.ipv4.icmp_ratelimit", "0"));
        Run(*router, "ip route add " + routeType + " 198.51.100.0/24");
    }

    std::unique_ptr<NetNamespace> router;
};

// A router sends its "unreachable" and "prohibited" errors for a route of
// that type through the kernel's own limiter, at least one a second
// whatever icmp_ratelimit says: the requests are spaced further apart, so
// that every one of them gets its error.
constexpr const char* kRouterErrorInterval = "1.1";

TEST_P(RouterNamespaceTest, UnreachableRouteGivesTheRoutersLineNotATimeout) {
    RouteThroughRouter("unreachable");
    const HelperRun run = Ping("198.51.100.7", kRouterErrorInterval, 3);
    ASSERT_EQ(run.records.size(), 3u) << run.output;
    for (unsigned i = 0; i < 3; ++i) {
        const Record& record = run.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::Unreachable) << run.output;
        EXPECT_EQ(record.line, "From 192.0.2.1 icmp_seq=" + std::to_string(i + 1) +
                                   " Destination Host Unreachable");
        EXPECT_LT(record.settledMs - record.sentMs, 1000)
            << "the error was not taken: " << run.output;
    }
}

TEST_P(RouterNamespaceTest, ProhibitRouteGivesPacketFiltered) {
    RouteThroughRouter("prohibit");
    const HelperRun run = Ping("198.51.100.7", kRouterErrorInterval, 2);
    ASSERT_EQ(run.records.size(), 2u) << run.output;
    EXPECT_EQ(run.records[0].line, "From 192.0.2.1 icmp_seq=1 Packet filtered");
    EXPECT_EQ(run.records[1].line, "From 192.0.2.1 icmp_seq=2 Packet filtered");
}

TEST_P(PingNamespaceTest, MissingRouteIsALocalErrorAndTheRunGoesOn) {
    const HelperRun run = Ping("198.51.100.7", "0.2", 2);
    ASSERT_EQ(run.records.size(), 2u) << run.output;
    EXPECT_EQ(run.records[0].line, "Local error for icmp_seq=1: Network is unreachable");
    EXPECT_EQ(run.records[1].line, "Local error for icmp_seq=2: Network is unreachable");
}

TEST_P(PingNamespaceTest, UnknownHostEndsTheRunWithAMessage) {
    ASSERT_TRUE(client->WriteEtcFile("hosts", "127.0.0.1 localhost\n"));
    ASSERT_TRUE(client->WriteEtcFile("resolv.conf",
                                     "nameserver 127.0.0.1\noptions timeout:1 attempts:1\n"));
    const HelperRun run = Ping("no-such-host.invalid", "0.2", 1);
    EXPECT_EQ(run.failed, "Unknown host: no-such-host.invalid") << run.output;
    EXPECT_TRUE(run.records.empty());
}

TEST(PingPrivilegesTest, WithoutEitherSocketTheMessageNamesBothWaysToAllowOne) {
    const std::string why = NetNamespace::WhyUnavailable();
    if (!why.empty()) GTEST_SKIP() << why;
    NetNamespace space;
    ASSERT_TRUE(space.Ok()) << space.Error();
    ASSERT_TRUE(space.SetSysctl("net.ipv4.ping_group_range", "1 0"));
    const HelperRun run =
        Parse(space.Exec(std::string(RAVELIN_PING_HELPER) + " --user 65534 127.0.0.1 0.2 56 1"));
    EXPECT_TRUE(run.records.empty());
    EXPECT_EQ(run.failed.rfind("Ravelin may not send pings (error 13)", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("sudo setcap cap_net_raw+ep "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("net.ipv4.ping_group_range=\"0 2147483647\""), std::string::npos)
        << run.output;
}

const auto kBothSockets = ::testing::Values(SocketKind::Raw, SocketKind::Datagram);
std::string SocketName(const ::testing::TestParamInfo<SocketKind>& info) {
    return info.param == SocketKind::Raw ? "Raw" : "Datagram";
}
INSTANTIATE_TEST_SUITE_P(BothSockets, PingNamespaceTest, kBothSockets, SocketName);
INSTANTIATE_TEST_SUITE_P(BothSockets, RouterNamespaceTest, kBothSockets, SocketName);

}  // namespace
}  // namespace vigilon::test
