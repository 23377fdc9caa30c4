// The echo request as it goes on the wire: layout, checksum and sequence.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "MonotonicClock.h"

namespace vigilon {
namespace {

// The ones' complement sum the way a receiver checks it: big-endian words,
// an odd last byte padded with zero on the right.
std::uint16_t OnesComplementSum(const std::uint8_t* bytes, int length) {
    std::uint32_t sum = 0;
    for (int i = 0; i < length; i += 2) {
        std::uint32_t word = static_cast<std::uint32_t>(bytes[i]) << 8;
        if (i + 1 < length) word |= bytes[i + 1];
        sum += word;
    }
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(sum);
}

class EchoRequestTest : public ::testing::Test {
protected:
    std::array<std::uint8_t, CEchoProbe::kBufferSize> buffer{};
    CEchoProbe probe{[](std::uint32_t) {}, 0x1234};

    std::uint16_t SequenceOfNextRequest() {
        probe.BuildRequest(buffer.data(), 44);
        return LoadLe16(buffer.data() + 6);
    }
};

TEST_F(EchoRequestTest, StandardRequestIsFortyFourBytesOfHeaderAndLetterE) {
    const std::uint32_t before = MonotonicMs();
    probe.BuildRequest(buffer.data(), 44);
    const std::uint32_t after = MonotonicMs();

    EXPECT_EQ(buffer[0], 8);  // echo request
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[4], 0x34);  // identifier low byte first
    EXPECT_EQ(buffer[5], 0x12);
    const std::uint32_t stamp = LoadLe32(buffer.data() + 8);
    EXPECT_GE(stamp - before, 0u);
    EXPECT_LE(stamp - before, after - before);
    for (int i = 12; i < 44; ++i) EXPECT_EQ(buffer[i], 0x45) << "data byte " << i;
    for (int i = 44; i < CEchoProbe::kBufferSize; ++i) ASSERT_EQ(buffer[i], 0) << "byte " << i;
    EXPECT_EQ(OnesComplementSum(buffer.data(), 44), 0xFFFF);
}

TEST_F(EchoRequestTest, FillLeavesChecksumAndSequenceZero) {
    buffer.fill(0xAA);
    probe.FillEchoRequest(buffer.data(), 20);
    const std::vector<std::uint8_t> head(buffer.begin(), buffer.begin() + 8);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{8, 0, 0, 0, 0x34, 0x12, 0, 0}));
    for (int i = 12; i < 20; ++i) EXPECT_EQ(buffer[i], 0x45);
    EXPECT_EQ(buffer[20], 0xAA);  // nothing written past the length
}

TEST(EchoChecksumTest, MatchesTheInternetChecksumOfRfc1071Example) {
    const std::uint8_t bytes[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    std::uint8_t stored[2];
    StoreLe16(stored, CEchoProbe::Checksum(bytes, 8));
    EXPECT_EQ(stored[0], 0x22);
    EXPECT_EQ(stored[1], 0x0D);
}

TEST(EchoChecksumTest, CompletesTheSumOfEvenAndOddLengths) {
    std::vector<std::uint8_t> message;
    for (int length = 1; length <= 61; ++length) {
        message.assign(length + 2, 0);
        for (int i = 0; i < length; ++i) message[2 + i] = static_cast<std::uint8_t>(i * 37 + 200);
        // Checksum first, in the two leading bytes, as in the ICMP header.
        StoreLe16(message.data(), CEchoProbe::Checksum(message.data(), length + 2));
        EXPECT_EQ(OnesComplementSum(message.data(), length + 2), 0xFFFF) << "length " << length;
    }
}

TEST_F(EchoRequestTest, SequenceStartsAtZeroAndCountsUp) {
    EXPECT_EQ(SequenceOfNextRequest(), 0);
    EXPECT_EQ(SequenceOfNextRequest(), 1);
    EXPECT_EQ(probe.nextSequence, 2);
    EXPECT_EQ(buffer[6], 1);  // low byte first
    EXPECT_EQ(buffer[7], 0);
    EXPECT_EQ(OnesComplementSum(buffer.data(), 44), 0xFFFF);
}

TEST_F(EchoRequestTest, SequenceWrapsAfter65535) {
    probe.nextSequence = 65535;
    EXPECT_EQ(SequenceOfNextRequest(), 65535);
    EXPECT_EQ(SequenceOfNextRequest(), 0);
    EXPECT_EQ(probe.nextSequence, 1);
}

TEST(EchoProbeIdentityTest, IdentifierIsTheLowHalfOfTheProcessId) {
    EXPECT_EQ(CEchoProbe::ProcessIdentifier(), static_cast<std::uint16_t>(getpid() & 0xFFFF));
}

}  // namespace
}  // namespace vigilon
