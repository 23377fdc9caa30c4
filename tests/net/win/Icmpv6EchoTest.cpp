// Windows' echo for IPv6 (Icmp6SendEcho2): what Windows writes back for a
// request, read by the same rules and giving the same results as Linux's
// ICMPv6 socket; and the loopback address where the system answers.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <regex>
#include <string>

#include "CEchoProbe.h"
#include "EchoChannel.h"
#include "Ipv6EchoSocket.h"
#include "MonotonicClock.h"
#include "ProbeText.h"
#include "SystemSockets.h"
#include "TestAddress.h"

#include <ipexport.h>

namespace vigilon::test {
namespace {

// Windows' side of Icmp6SendEcho2 without a network: every request is
// done at once, with the status, address and round trip given, and the
// request's data, or other data, written behind the reply's head.
class WindowsAnswers : public EchoSocket {
public:
    std::uint32_t status = IP_SUCCESS;
    IpAddress from = V6Address("2001:db8::7");
    std::uint32_t roundTripMs = 3;
    bool alterData = false;

    int Open() override { return 0; }
    bool Unprivileged() const override { return true; }
    std::optional<std::uint16_t> SystemIdentifier() const override { return std::nullopt; }
    std::uint8_t RequestType() const override { return 128; }
    int Admit(const EchoAdmission&) override { return 0; }
    int LimitSendWait(std::uint32_t) override { return 0; }
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override {
        request.message = message;
        request.to = to;
        Icmpv6EchoReplyHead head{};
        const in6_addr address = from.ToV6();
        std::memcpy(head.address, &address, sizeof address);
        head.status = status;
        head.roundTripTimeMs = roundTripMs;
        request.replies.assign(reinterpret_cast<const std::uint8_t*>(&head),
                               reinterpret_cast<const std::uint8_t*>(&head) + sizeof head);
        if (status == IP_SUCCESS)
            request.replies.insert(request.replies.end(), message.begin() + 8, message.end());
        if (alterData) request.replies.back() ^= 0xff;
        request.replies.resize(request.replies.size() + 72);  // what Windows keeps behind
        waiting = true;
        return 0;
    }
    SocketWait Wait(std::int64_t, WakeHandle) override {
        return {waiting ? SocketWait::End::Readable : SocketWait::End::Quiet, 0};
    }
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override {
        if (!waiting) return EAGAIN;
        waiting = false;
        ReadIcmpv6EchoReply(request, buffer, size, got);
        return 0;
    }

    IcmpRequest request;
    bool waiting = false;
};

std::vector<EchoResult> PingThrough(WindowsAnswers* answers, const IpAddress& to) {
    EchoChannelSetup setup;
    setup.layout = EchoLayout::NetworkOrder;
    setup.identifier = 0x2468;
    EchoChannel channel(std::unique_ptr<EchoSocket>(answers), setup);
    EXPECT_EQ(channel.Open(), 0);
    EXPECT_EQ(channel.Send(to, 1, 56), std::nullopt);
    return channel.Await(MonotonicUs() + 1000).settled;
}

TEST(WindowsIcmpv6Answers, ReplyReadsAsLinuxReadsItWithTheRoundTripInWholeMilliseconds) {
    const IpAddress host = V6Address("2001:db8::7");
    auto* answers = new WindowsAnswers;
    const std::vector<EchoResult> settled = PingThrough(answers, host);
    ASSERT_EQ(settled.size(), 1u);
    const EchoResult& reply = settled[0];
    EXPECT_EQ(reply.outcome, EchoOutcome::Reply);
    EXPECT_EQ(reply.source, host);
    EXPECT_EQ(reply.sequence, 1);
    EXPECT_EQ(reply.roundTripUs, 3000) << "Windows' own measure, in whole milliseconds";
    EXPECT_EQ(reply.ttl, -1) << "Windows tells no hop limit";
    EXPECT_EQ(reply.ipHeaderBytes, 40);
    EXPECT_EQ(reply.messageBytes, 64);
    EXPECT_EQ(ProbeText(reply, "2001:db8::7"),
              "104 bytes from 2001:db8::7: icmp_seq = 1.  time: 3 ms");
}

TEST(WindowsIcmpv6Answers, DataNotGivenBackOrAnswerFromElsewhereIsNoAnswer) {
    auto* altered = new WindowsAnswers;
    altered->alterData = true;
    EXPECT_TRUE(PingThrough(altered, V6Address("2001:db8::7")).empty());

    auto* elsewhere = new WindowsAnswers;
    elsewhere->from = V6Address("2001:db8::8");
    EXPECT_TRUE(PingThrough(elsewhere, V6Address("2001:db8::7")).empty());

    // Windows' own time-out is silence: the rules time the request out.
    auto* silent = new WindowsAnswers;
    silent->status = IP_REQ_TIMED_OUT;
    EXPECT_TRUE(PingThrough(silent, V6Address("2001:db8::7")).empty());
}

TEST(WindowsIcmpv6Answers, StatusesAreTheRouterErrorsLinuxReads) {
    struct Case {
        std::uint32_t status;
        EchoOutcome outcome;
        int type, code;
    };
    const Case cases[] = {
        {IP_DEST_NO_ROUTE, EchoOutcome::Unreachable, 1, 0},
        {IP_DEST_PROHIBITED, EchoOutcome::Unreachable, 1, 1},
        {IP_DEST_SCOPE_MISMATCH, EchoOutcome::Unreachable, 1, 2},
        {IP_DEST_ADDR_UNREACHABLE, EchoOutcome::Unreachable, 1, 3},
        {IP_DEST_PORT_UNREACHABLE, EchoOutcome::Unreachable, 1, 4},
        {IP_PACKET_TOO_BIG, EchoOutcome::PacketTooBig, 2, 0},
        {IP_HOP_LIMIT_EXCEEDED, EchoOutcome::TimeExceeded, 3, 0},
        {IP_REASSEMBLY_TIME_EXCEEDED, EchoOutcome::TimeExceeded, 3, 1},
        {IP_PARAMETER_PROBLEM, EchoOutcome::ParameterProblem, 4, 0},
    };
    const IpAddress router = V6Address("2001:db8::fe");
    for (const Case& c : cases) {
        auto* answers = new WindowsAnswers;
        answers->status = c.status;
        answers->from = router;
        answers->roundTripMs = 0;
        const std::vector<EchoResult> settled = PingThrough(answers, V6Address("2001:db8:5::1"));
        ASSERT_EQ(settled.size(), 1u) << c.status;
        const EchoResult& error = settled[0];
        EXPECT_EQ(error.outcome, c.outcome) << c.status;
        EXPECT_EQ(error.icmpType, c.type) << c.status;
        EXPECT_EQ(error.icmpCode, c.code) << c.status;
        EXPECT_EQ(error.source, router);
        EXPECT_EQ(error.roundTripUs, 0);
        EXPECT_EQ(ProbeText(error, "2001:db8:5::1"),
                  "non-echo type " + std::to_string(c.type) + " recvd");
    }
}

// Where the system answers ::1 through Icmp6SendEcho2, as on Windows 10
// and 11; Wine 8 leaves Icmp6CreateFile a stub (ERROR_CALL_NOT_IMPLEMENTED)
// and says so here.
TEST(WindowsEcho, Ipv6LoopbackAnswersWithTheProbesLine) {
    CEchoProbe probe([](std::uint32_t) {});
    const EchoResult result = probe.Exchange("::1", 0);
    if (result.outcome == EchoOutcome::LocalError && result.step == LocalStep::OpenSocket &&
        result.error == ENOSYS)
        GTEST_SKIP() << "this system has no Icmp6CreateFile (Wine 8's is a stub)";
    ASSERT_EQ(result.outcome, EchoOutcome::Reply) << ProbeText(result, "::1");
    EXPECT_EQ(result.source.Text(), "::1");
    EXPECT_EQ(result.ipHeaderBytes, 40);
    const std::string line = probe.Ping("::1", 0);
    EXPECT_TRUE(
        std::regex_match(line, std::regex(R"(\d+ bytes from ::1: icmp_seq = 1\.  time: \d+ ms)")))
        << line;
}

}  // namespace
}  // namespace vigilon::test
