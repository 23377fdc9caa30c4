// The lines of a run, as a terminal's ping shows them.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "ReplyLines.h"
#include "SystemSockets.h"
#include "TestAddress.h"

namespace vigilon::ravelin {
namespace {

PingRecord Record(EchoOutcome outcome, std::uint16_t sequence, const char* source) {
    PingRecord record;
    record.result.outcome = outcome;
    record.result.sequence = sequence;
    const bool v6 = std::string(source).find(':') != std::string::npos;
    record.result.source = v6 ? test::V6Address(source) : test::V4Address(source);
    return record;
}

TEST(ReplyLinesTest, ReplyLineCountsTheMessageAndShowsTtlAndTime) {
    PingRecord reply = Record(EchoOutcome::Reply, 3, "192.0.2.2");
    reply.result.ipHeaderBytes = 20;
    reply.result.messageBytes = 64;
    reply.result.ttl = 64;
    reply.result.roundTripUs = 143;
    EXPECT_EQ(RecordLine(reply), "64 bytes from 192.0.2.2: icmp_seq=3 ttl=64 time=0.143 ms");
    // The datagram socket may not tell the time to live.
    reply.result.ttl = -1;
    reply.result.roundTripUs = 12345;
    EXPECT_EQ(RecordLine(reply), "64 bytes from 192.0.2.2: icmp_seq=3 time=12.3 ms");
}

TEST(ReplyLinesTest, TimesKeepThreeDigitsBelowAHundredMillisecondsCutNotRounded) {
    EXPECT_EQ(FormatMs(0), "0.000");
    EXPECT_EQ(FormatMs(999), "0.999");
    EXPECT_EQ(FormatMs(1529), "1.52");
    EXPECT_EQ(FormatMs(9999), "9.99");
    EXPECT_EQ(FormatMs(10050), "10.0");
    EXPECT_EQ(FormatMs(99999), "99.9");
    EXPECT_EQ(FormatMs(100999), "100");
    EXPECT_EQ(FormatMs(2500000), "2500");
}

TEST(ReplyLinesTest, TimeoutsAndErrorsHaveLinesOfTheirOwn) {
    EXPECT_EQ(RecordLine(Record(EchoOutcome::TimedOut, 5, "192.0.2.2")),
              "Request timeout for icmp_seq=5");

    PingRecord error = Record(EchoOutcome::Unreachable, 4, "192.0.2.1");
    error.result.icmpCode = 1;
    EXPECT_EQ(RecordLine(error), "From 192.0.2.1 icmp_seq=4 Destination Host Unreachable");
    error.result.icmpCode = 13;
    EXPECT_EQ(RecordLine(error), "From 192.0.2.1 icmp_seq=4 Packet filtered");
    error.result.icmpCode = 4;
    error.result.icmpInfo = 1400;
    EXPECT_EQ(RecordLine(error), "From 192.0.2.1 icmp_seq=4 Frag needed and DF set (mtu = 1400)");
    error.result.icmpCode = 99;
    EXPECT_EQ(RecordLine(error), "From 192.0.2.1 icmp_seq=4 Destination Unreachable, Bad Code: 99");

    PingRecord exceeded = Record(EchoOutcome::TimeExceeded, 7, "198.51.100.1");
    EXPECT_EQ(RecordLine(exceeded), "From 198.51.100.1 icmp_seq=7 Time to live exceeded");
    PingRecord redirect = Record(EchoOutcome::Redirect, 8, "192.0.2.1");
    redirect.result.icmpCode = 1;
    inet_pton(AF_INET, "192.0.2.9", &redirect.result.icmpInfo);
    EXPECT_EQ(RecordLine(redirect),
              "From 192.0.2.1 icmp_seq=8 Redirect Host (New nexthop: 192.0.2.9)");

    PingRecord local = Record(EchoOutcome::LocalError, 6, "0.0.0.0");
    local.result.error = ENETUNREACH;
    EXPECT_EQ(RecordLine(local), "Local error for icmp_seq=6: Network is unreachable");
}

TEST(ReplyLinesTest, Icmpv6ErrorsAreToldByTheirOwnCodes) {
    PingRecord error = Record(EchoOutcome::Unreachable, 4, "2001:db8::1");
    EXPECT_EQ(RecordLine(error), "From 2001:db8::1 icmp_seq=4 Destination unreachable: No route");
    error.result.icmpCode = 1;
    EXPECT_EQ(RecordLine(error),
              "From 2001:db8::1 icmp_seq=4 Destination unreachable: Administratively prohibited");
    error.result.icmpCode = 6;
    EXPECT_EQ(RecordLine(error),
              "From 2001:db8::1 icmp_seq=4 Destination unreachable: Reject route to destination");
    error.result.icmpCode = 7;
    EXPECT_EQ(RecordLine(error),
              "From 2001:db8::1 icmp_seq=4 Destination unreachable: Unknown code 7");

    PingRecord tooBig = Record(EchoOutcome::PacketTooBig, 5, "2001:db8::1");
    tooBig.result.icmpInfo = 1280;
    EXPECT_EQ(RecordLine(tooBig), "From 2001:db8::1 icmp_seq=5 Packet too big: mtu=1280");
    PingRecord exceeded = Record(EchoOutcome::TimeExceeded, 6, "2001:db8::1");
    EXPECT_EQ(RecordLine(exceeded), "From 2001:db8::1 icmp_seq=6 Time exceeded: Hop limit");
    PingRecord problem = Record(EchoOutcome::ParameterProblem, 7, "2001:db8::1");
    problem.result.icmpCode = 1;
    problem.result.icmpInfo = 40;
    EXPECT_EQ(RecordLine(problem),
              "From 2001:db8::1 icmp_seq=7 Parameter problem: Unrecognized next header at 40");
    // Replies and time-outs read as for IPv4.
    PingRecord reply = Record(EchoOutcome::Reply, 8, "2001:db8::7");
    reply.result.messageBytes = 64;
    reply.result.ttl = 63;
    reply.result.roundTripUs = 1529;
    EXPECT_EQ(RecordLine(reply), "64 bytes from 2001:db8::7: icmp_seq=8 ttl=63 time=1.52 ms");
}

TEST(ReplyLinesTest, HeaderNamesHostAddressAndSizes) {
    EXPECT_EQ(HeaderLine("gateway", test::V4Address("192.0.2.1"), 56),
              "PING gateway (192.0.2.1) 56(84) bytes of data.");
    EXPECT_EQ(HeaderLine("192.0.2.1", test::V4Address("192.0.2.1"), 0),
              "PING 192.0.2.1 (192.0.2.1) 0(28) bytes of data.");
    EXPECT_EQ(HeaderLine("six", test::V6Address("2001:db8::7"), 56),
              "PING six (2001:db8::7) 56(104) bytes of data.");
}

}  // namespace
}  // namespace vigilon::ravelin
