// Replies from the unprivileged datagram socket, dressed as raw ones.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "IcmpSocket.h"
#include "MonotonicClock.h"

namespace vigilon {
namespace {

constexpr std::uint16_t kOwnId = 0x1234;
constexpr std::uint16_t kKernelId = 0xBEEF;

class DatagramReplyTest : public ::testing::Test {
protected:
    std::array<std::uint8_t, CEchoProbe::kBufferSize> buffer{};
    sockaddr_in source{};
    std::uint8_t* icmp = buffer.data() + IcmpSocket::kSyntheticHeaderSize;

    void SetUp() override {
        source.sin_family = AF_INET;
        inet_pton(AF_INET, "127.0.0.1", &source.sin_addr);
    }

    // An echo reply as the datagram socket hands it over: the kernel's
    // identifier in network byte order where the probe wrote its own.
    void PutKernelReply(std::uint16_t wireIdentifier, std::uint16_t sequence) {
        icmp[0] = 0;
        const std::uint16_t wire = htons(wireIdentifier);
        std::memcpy(icmp + 4, &wire, 2);
        StoreLe16(icmp + 6, sequence);
        StoreLe32(icmp + 8, MonotonicMs());
    }
};

TEST_F(DatagramReplyTest, GetsAnIpv4HeaderFromTheSource) {
    PutKernelReply(kKernelId, 0);
    ASSERT_EQ(AdaptDatagramReply(buffer.data(), 44, source, kKernelId, kOwnId), 64);
    EXPECT_EQ(buffer[0], 0x45);
    EXPECT_EQ(buffer[2] << 8 | buffer[3], 64);  // total length
    EXPECT_EQ(buffer[9], IPPROTO_ICMP);
    EXPECT_EQ(std::memcmp(buffer.data() + 12, &source.sin_addr, 4), 0);
}

TEST_F(DatagramReplyTest, DecodesAsTheProbesOwnReply) {
    PutKernelReply(kKernelId, 7);
    const int count = AdaptDatagramReply(buffer.data(), 44, source, kKernelId, kOwnId);
    EXPECT_EQ(LoadLe16(icmp + 4), kOwnId);

    CEchoProbe probe([](std::uint32_t) {}, kOwnId);
    const std::string line = probe.DecodeReply(buffer.data(), count, source);
    EXPECT_EQ(line.rfind("64 bytes from 127.0.0.1: icmp_seq = 7.  time: ", 0), 0u) << line;
}

TEST_F(DatagramReplyTest, LeavesAnotherIdentifierAlone) {
    PutKernelReply(0x4321, 0);
    AdaptDatagramReply(buffer.data(), 44, source, kKernelId, kOwnId);
    EXPECT_EQ(icmp[4], 0x43);
    EXPECT_EQ(icmp[5], 0x21);
}

}  // namespace
}  // namespace vigilon
