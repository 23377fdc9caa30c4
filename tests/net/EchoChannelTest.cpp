// The echo engine over a socket without a network: which messages settle
// which waiting request, what the system is told to let through, and how
// requests are numbered, replaced and timed out.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "ByteOrder.h"
#include "EchoChannel.h"
#include "FakeEchoSocket.h"
#include "TestAddress.h"

namespace vigilon {
namespace {

constexpr std::uint16_t kIdentifier = 0x2468;
constexpr std::int64_t kLongAgoUs = 3600LL * 1000000;

class EchoChannelTest : public ::testing::Test {
protected:
    test::FakeEchoState state;
    IpAddress host = test::V4Address("198.51.100.5");
    IpAddress router = test::V4Address("192.0.2.1");

    EchoChannel Open(EchoChannelSetup setup = RavelinSetup()) {
        EchoChannel channel(test::NewFakeSocket(state), setup);
        EXPECT_EQ(channel.Open(), 0);
        return channel;
    }

    static EchoChannelSetup RavelinSetup() {
        EchoChannelSetup setup;
        setup.layout = EchoLayout::NetworkOrder;
        setup.identifier = kIdentifier;
        return setup;
    }

    // What the router sends back about the request: unreachable, quoting it.
    void QueueUnreachableAbout(const std::vector<std::uint8_t>& request) {
        std::vector<std::uint8_t> error = {3, 1, 0, 0, 0, 0, 0, 0};
        std::vector<std::uint8_t> quoted = test::WithIpv4Header(request);
        const in_addr to = host.ToV4();
        std::memcpy(quoted.data() + 16, &to, 4);
        error.insert(error.end(), quoted.begin(), quoted.end());
        state.queue.push_back({test::WithIpv4Header(error), router});
    }

    void QueueReply(const std::vector<std::uint8_t>& request, const IpAddress& from) {
        state.queue.push_back({test::WithIpv4Header(test::ReplyTo(request)), from});
    }

    static std::vector<EchoResult> Settled(EchoChannel& channel) {
        return channel.Await(MonotonicUs()).settled;
    }
};

TEST_F(EchoChannelTest, ReplyFromTheHostSettlesItsRequestByCount) {
    EchoChannel channel = Open();
    ASSERT_FALSE(channel.Send(host, 1, 56));
    ASSERT_FALSE(channel.Send(host, 2, 56));
    QueueReply(state.sent[1], host);
    QueueReply(state.sent[0], router);  // from elsewhere: no answer

    const std::vector<EchoResult> settled = Settled(channel);
    ASSERT_EQ(settled.size(), 1u);
    EXPECT_EQ(settled[0].outcome, EchoOutcome::Reply);
    EXPECT_EQ(settled[0].sequence, 2);
    EXPECT_EQ(settled[0].source, host);
    EXPECT_EQ(settled[0].ttl, 64);
    EXPECT_EQ(settled[0].ipHeaderBytes, 20);
    EXPECT_EQ(settled[0].messageBytes, 64);
    EXPECT_GE(settled[0].roundTripUs, 0);
    EXPECT_EQ(channel.WaitingCount(), 1u);
}

TEST_F(EchoChannelTest, ErrorQuotingARequestSettlesItOnlyWhereErrorsCount) {
    EchoChannel ravelins = Open();
    ASSERT_FALSE(ravelins.Send(host, 4, 56));
    QueueUnreachableAbout(state.sent.back());
    const std::vector<EchoResult> settled = Settled(ravelins);
    ASSERT_EQ(settled.size(), 1u);
    EXPECT_EQ(settled[0].outcome, EchoOutcome::Unreachable);
    EXPECT_EQ(settled[0].icmpCode, 1);
    EXPECT_EQ(settled[0].source, router);
    EXPECT_EQ(settled[0].sequence, 4);

    EchoChannelSetup answersOnly = RavelinSetup();
    answersOnly.errorsSettle = false;
    EchoChannel probes = Open(answersOnly);
    ASSERT_FALSE(probes.Send(host, 4, 56));
    QueueUnreachableAbout(state.sent.back());
    EXPECT_TRUE(Settled(probes).empty());
    EXPECT_EQ(probes.WaitingCount(), 1u);
}

TEST_F(EchoChannelTest, SystemIsToldTheIdentifierAndSequenceAsOnTheWire) {
    EchoChannelSetup probe;
    probe.layout = EchoLayout::LowByteFirst;
    probe.identifier = 0x1234;
    probe.sequenceOffset = 0x0100;
    probe.errorsSettle = false;
    probe.onlyCount = 2;
    Open(probe);
    // A filter reads the two bytes in network byte order: 0x34 0x12, 0x02 0x01.
    EXPECT_EQ(state.admitted->identifier, 0x3412);
    EXPECT_EQ(state.admitted->sequence, 0x0201);
    EXPECT_FALSE(state.admitted->errors);

    Open();
    EXPECT_EQ(state.admitted->identifier, kIdentifier);
    EXPECT_FALSE(state.admitted->sequence);
    EXPECT_TRUE(state.admitted->errors);
}

TEST_F(EchoChannelTest, OffsetShiftsTheWireSequenceAndResultsGiveTheCountBack) {
    EchoChannelSetup setup = RavelinSetup();
    setup.sequenceOffset = 0xFFFF;
    EchoChannel channel = Open(setup);
    ASSERT_FALSE(channel.Send(host, 3, 56));
    EXPECT_EQ(LoadBe16(state.sent.back().data() + 6), 2);  // wrapped round
    QueueReply(state.sent.back(), host);
    const std::vector<EchoResult> settled = Settled(channel);
    ASSERT_EQ(settled.size(), 1u);
    EXPECT_EQ(settled[0].sequence, 3);
}

TEST_F(EchoChannelTest, SequenceUsedAgainReplacesTheRequestStillWaiting) {
    EchoChannel channel = Open();
    ASSERT_FALSE(channel.Send(host, 9, 56));
    ASSERT_FALSE(channel.Send(host, 9, 57));
    EXPECT_EQ(channel.WaitingCount(), 1u);
    QueueReply(state.sent[0], host);  // one byte short of the second
    EXPECT_TRUE(Settled(channel).empty());
    QueueReply(state.sent[1], host);
    EXPECT_EQ(Settled(channel).size(), 1u);
}

TEST_F(EchoChannelTest, ExpiredRequestsTimeOutOldestFirstAndTheirRepliesCountNoMore) {
    EchoChannel channel = Open();
    ASSERT_FALSE(channel.Send(host, 1, 56));
    ASSERT_FALSE(channel.Send(host, 2, 56));
    const std::int64_t firstSentUs = *channel.OldestSentAtUs();
    EXPECT_TRUE(channel.Expire(firstSentUs + 999, 1000).empty());

    const std::vector<EchoResult> expired = channel.Expire(MonotonicUs() + kLongAgoUs, kLongAgoUs);
    ASSERT_EQ(expired.size(), 2u);
    EXPECT_EQ(expired[0].outcome, EchoOutcome::TimedOut);
    EXPECT_EQ(expired[0].sequence, 1);
    EXPECT_EQ(expired[0].sentAtUs, firstSentUs);
    EXPECT_EQ(expired[0].source, host);
    EXPECT_EQ(expired[1].sequence, 2);
    EXPECT_FALSE(channel.OldestSentAtUs());

    QueueReply(state.sent[0], host);
    EXPECT_TRUE(Settled(channel).empty());
}

TEST_F(EchoChannelTest, RefusedSendIsALocalErrorAndNothingWaits) {
    EchoChannel channel = Open();
    state.sendError = ENETUNREACH;
    const std::optional<EchoResult> refused = channel.Send(host, 5, 56);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->outcome, EchoOutcome::LocalError);
    EXPECT_EQ(refused->step, LocalStep::Send);
    EXPECT_EQ(refused->error, ENETUNREACH);
    EXPECT_EQ(refused->sequence, 5);
    EXPECT_EQ(channel.WaitingCount(), 0u);
}

TEST_F(EchoChannelTest, FamilyWithoutASocketCannotBeOpened) {
    EchoChannel channel(nullptr, RavelinSetup());
    EXPECT_EQ(channel.Open(), EAFNOSUPPORT);
    // Each family the system pings has its own socket, sending its own type.
    EXPECT_EQ(NewSystemEchoSocket(IpFamily::V4)->RequestType(), 8);
    EXPECT_EQ(NewSystemEchoSocket(IpFamily::V6)->RequestType(), 128);
}

}  // namespace
}  // namespace vigilon
