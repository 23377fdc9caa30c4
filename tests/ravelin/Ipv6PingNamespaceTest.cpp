// Ravelin's runs against IPv6 hosts: the loopback and a veth neighbour in
// private network namespaces, a silent host, and a router whose route is
// unreachable or prohibited. Each runs over the raw socket and, as a user
// of the ping groups, over the datagram socket.

#include <gtest/gtest.h>

#include <regex>

#include "PingNamespaceFixture.h"

namespace vigilon::test {
namespace {

using Ipv6PingNamespaceTest = PingNamespaceTest;

TEST_P(Ipv6PingNamespaceTest, LoopbackAndNeighbourReplyInSequenceWithTheirHopLimits) {
    const HelperRun loopback = Ping("::1", "0.2", 3);
    EXPECT_EQ(loopback.started, GetParam() == SocketKind::Raw ? "::1 raw" : "::1 datagram");
    ASSERT_EQ(loopback.records.size(), 3u) << loopback.output;
    for (unsigned i = 0; i < 3; ++i) {
        const Record& record = loopback.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::Reply) << loopback.output;
        EXPECT_EQ(record.sequence, i + 1);
        EXPECT_EQ(record.ttl, 64);
        EXPECT_EQ(record.bytes, 64);
        EXPECT_GT(record.roundTripUs, 0);
        EXPECT_LT(record.roundTripUs, 200000);
        EXPECT_TRUE(std::regex_match(
            record.line, std::regex("64 bytes from ::1: icmp_seq=" + std::to_string(i + 1) +
                                    R"( ttl=64 time=\d+\.\d+ ms)")))
            << record.line;
    }

    const std::unique_ptr<NetNamespace> neighbour = Neighbour6();
    ASSERT_TRUE(neighbour->SetSysctl("net.ipv6.conf.vb.hop_limit", "77"));
    const HelperRun far = Ping("2001:db8:5::1", "0.2", 2);
    ASSERT_EQ(far.records.size(), 2u) << far.output;
    for (unsigned i = 0; i < 2; ++i) {
        EXPECT_EQ(far.records[i].line.rfind("64 bytes from 2001:db8:5::1: icmp_seq=" +
                                                std::to_string(i + 1) + " ttl=77 time=",
                                            0),
                  0u)
            << far.output;
    }
}

TEST_P(Ipv6PingNamespaceTest, SilentHostTimesOutAfterItsWait) {
    ASSERT_TRUE(client->SetSysctl("net.ipv6.icmp.echo_ignore_all", "1"));
    const HelperRun run = Ping("::1", "0.3", 2);
    ASSERT_EQ(run.records.size(), 2u) << run.output;
    for (unsigned i = 0; i < run.records.size(); ++i) {
        const Record& record = run.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::TimedOut) << run.output;
        EXPECT_EQ(record.line, "Request timeout for icmp_seq=" + std::to_string(i + 1));
        EXPECT_GE(record.settledMs - record.sentMs, 1900) << run.output;
        EXPECT_LE(record.settledMs - record.sentMs, 3500) << run.output;
    }
}

// The client reaches 2001:db8:7::/64 through its neighbour 2001:db8:5::1, a
// router whose route there is of the given type: it answers each request
// with an ICMPv6 error quoting it, which settles the request at once.
class Ipv6RouterNamespaceTest : public PingNamespaceTest {
protected:
    void RouteThroughRouter(const std::string& routeType) {
        router = Neighbour6();
        Run(*client, "ip route add 2001:db8:7::/64 via 2001:db8:5::1");
        ASSERT_TRUE(router->SetSysctl("net.ipv6.conf.all.forwarding", "1"));
        ASSERT_TRUE(router->SetSysctl("net.ipv6.icmp.ratelimit", "0"));
        Run(*router, "ip route add " + routeType + " 2001:db8:7::/64");
    }

    std::unique_ptr<NetNamespace> router;
};

TEST_P(Ipv6RouterNamespaceTest, UnreachableAndProhibitedRoutesGiveTheRoutersLines) {
    RouteThroughRouter("unreachable");
    const HelperRun run = Ping("2001:db8:7::9", "0.3", 2);
    ASSERT_EQ(run.records.size(), 2u) << run.output;
    for (unsigned i = 0; i < 2; ++i) {
        const Record& record = run.records[i];
        EXPECT_EQ(record.outcome, EchoOutcome::Unreachable) << run.output;
        EXPECT_EQ(record.line, "From 2001:db8:5::1 icmp_seq=" + std::to_string(i + 1) +
                                   " Destination unreachable: No route");
        EXPECT_LT(record.settledMs - record.sentMs, 1000)
            << "the error was not taken: " << run.output;
    }

    Run(*router, "ip route replace prohibit 2001:db8:7::/64");
    const HelperRun prohibited = Ping("2001:db8:7::9", "0.3", 2);
    ASSERT_EQ(prohibited.records.size(), 2u) << prohibited.output;
    EXPECT_EQ(prohibited.records[0].line,
              "From 2001:db8:5::1 icmp_seq=1 Destination unreachable: Administratively prohibited");
    EXPECT_EQ(prohibited.records[1].line,
              "From 2001:db8:5::1 icmp_seq=2 Destination unreachable: Administratively prohibited");
}

const auto kBothSockets = ::testing::Values(SocketKind::Raw, SocketKind::Datagram);
std::string SocketName(const ::testing::TestParamInfo<SocketKind>& info) {
    return info.param == SocketKind::Raw ? "Raw" : "Datagram";
}
INSTANTIATE_TEST_SUITE_P(BothSockets, Ipv6PingNamespaceTest, kBothSockets, SocketName);
INSTANTIATE_TEST_SUITE_P(BothSockets, Ipv6RouterNamespaceTest, kBothSockets, SocketName);

}  // namespace
}  // namespace vigilon::test
