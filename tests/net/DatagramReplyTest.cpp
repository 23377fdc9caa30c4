// The unprivileged datagram socket: its replies dressed as raw ones, and the
// kernel's identifier, which it writes over every request's own.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "ByteOrder.h"
#include "EchoChannel.h"
#include "FakeEchoSocket.h"
#include "Ipv4EchoSocket.h"
#include "TestAddress.h"

namespace vigilon {
namespace {

constexpr std::uint16_t kOwnId = 0x1234;
constexpr std::uint16_t kKernelId = 0xBEEF;

TEST(DatagramReplyTest, GetsAnIpv4HeaderFromTheSource) {
    std::array<std::uint8_t, 128> buffer{};
    in_addr source{};
    inet_pton(AF_INET, "127.0.0.1", &source);
    ASSERT_EQ(PutSyntheticHeader(buffer.data(), 44, source, 61), 64);
    EXPECT_EQ(buffer[0], 0x45);
    EXPECT_EQ(buffer[2] << 8 | buffer[3], 64);  // total length
    EXPECT_EQ(buffer[8], 61);                   // time to live
    EXPECT_EQ(buffer[9], IPPROTO_ICMP);
    EXPECT_EQ(std::memcmp(buffer.data() + 12, &source, 4), 0);
}

class KernelIdentifierTest : public ::testing::TestWithParam<EchoLayout> {
protected:
    test::FakeEchoState state;
    IpAddress host = test::V4Address("127.0.0.1");

    void SetUp() override {
        state.kernelIdentifier = kKernelId;
        state.hostAnswers = true;
    }

    EchoChannel Channel() {
        EchoChannelSetup setup;
        setup.layout = GetParam();
        setup.identifier = kOwnId;
        return EchoChannel(test::NewFakeSocket(state), setup);
    }
};

TEST_P(KernelIdentifierTest, RequestsCarryItSoThatTheirRepliesAnswerThem) {
    EchoChannel channel = Channel();
    ASSERT_EQ(channel.Open(), 0);
    EXPECT_TRUE(channel.Unprivileged());
    EXPECT_EQ(state.admitted->identifier, kKernelId);
    ASSERT_FALSE(channel.Send(host, 7, 36));

    const EchoChannel::Waited waited = channel.Await(MonotonicUs() + 1000000);
    ASSERT_EQ(waited.settled.size(), 1u);
    EXPECT_EQ(waited.settled[0].outcome, EchoOutcome::Reply);
    EXPECT_EQ(waited.settled[0].sequence, 7);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, KernelIdentifierTest,
                         ::testing::Values(EchoLayout::LowByteFirst, EchoLayout::NetworkOrder),
                         [](const auto& info) {
                             return info.param == EchoLayout::LowByteFirst ? "LowByteFirst"
                                                                           : "NetworkOrder";
                         });

}  // namespace
}  // namespace vigilon
