// The echo request as it goes on the wire: both layouts, the checksum, and
// the probe's numbering of its requests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoRequest.h"
#include "FakeEchoSocket.h"
#include "IcmpWire.h"

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
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(sum);
}

constexpr std::int64_t kNowUs = 0x0102030405060708;

TEST(EchoRequestTest, ProbesRequestIsFortyFourBytesOfHeaderStampAndLetterE) {
    const std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::LowByteFirst, 8, 0x1234, 0xABCD, 36, kNowUs);
    ASSERT_EQ(request.size(), 44u);
    EXPECT_EQ(request[0], 8);  // echo request
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(request[4], 0x34);  // identifier low byte first
    EXPECT_EQ(request[5], 0x12);
    EXPECT_EQ(request[6], 0xCD);  // sequence likewise
    EXPECT_EQ(request[7], 0xAB);
    EXPECT_EQ(LoadLe32(request.data() + 8), static_cast<std::uint32_t>(kNowUs / 1000));
    for (int i = 12; i < 44; ++i)
        EXPECT_EQ(request[i], 0x45) << "data byte " << i;
    EXPECT_EQ(OnesComplementSum(request.data(), 44), 0xFFFF);
}

TEST(EchoRequestTest, NetworkOrderRequestCarriesTheMicrosecondsThenCountingBytes) {
    const std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::NetworkOrder, 8, 0x1234, 0xABCD, 56, kNowUs);
    ASSERT_EQ(request.size(), 64u);
    EXPECT_EQ(LoadBe16(request.data() + 4), 0x1234);
    EXPECT_EQ(LoadBe16(request.data() + 6), 0xABCD);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(request[8 + i], i + 1) << "stamp byte " << i;
    for (int i = 8; i < 56; ++i)
        EXPECT_EQ(request[8 + i], i) << "data byte " << i;
    EXPECT_EQ(OnesComplementSum(request.data(), 64), 0xFFFF);
    // Data shorter than the stamp carries as much of it as fits.
    const std::vector<std::uint8_t> short3 =
        BuildEchoRequest(EchoLayout::NetworkOrder, 8, 1, 1, 3, kNowUs);
    EXPECT_EQ(short3, (std::vector<std::uint8_t>{8, 0, short3[2], short3[3], 0, 1, 0, 1, 1, 2, 3}));
    EXPECT_EQ(BuildEchoRequest(EchoLayout::NetworkOrder, 8, 1, 1, -5, kNowUs).size(), 8u);
}

TEST(EchoRequestTest, KernelsIdentifierIsStoredAsItsNetworkOrderBytes) {
    for (const EchoLayout layout : {EchoLayout::LowByteFirst, EchoLayout::NetworkOrder}) {
        std::uint8_t field[2];
        StoreEchoField(layout, field, IdentifierStoredAs(layout, 0xBEEF));
        EXPECT_EQ(field[0], 0xBE);
        EXPECT_EQ(field[1], 0xEF);
    }
}

TEST(EchoChecksumTest, MatchesTheInternetChecksumOfRfc1071Example) {
    const std::uint8_t bytes[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    std::uint8_t stored[2];
    StoreLe16(stored, IcmpChecksum(bytes, 8));
    EXPECT_EQ(stored[0], 0x22);
    EXPECT_EQ(stored[1], 0x0D);
}

TEST(EchoChecksumTest, CompletesTheSumOfEvenAndOddLengths) {
    std::vector<std::uint8_t> message;
    for (int length = 1; length <= 61; ++length) {
        message.assign(length + 2, 0);
        for (int i = 0; i < length; ++i)
            message[2 + i] = static_cast<std::uint8_t>(i * 37 + 200);
        // Checksum first, in the two leading bytes, as in the ICMP header.
        StoreLe16(message.data(), IcmpChecksum(message.data(), length + 2));
        EXPECT_EQ(OnesComplementSum(message.data(), length + 2), 0xFFFF) << "length " << length;
    }
}

// The probe's requests, each over a fresh socket to a host that answers.
class ProbeSequenceTest : public ::testing::Test {
protected:
    test::FakeEchoState state;
    CEchoProbe probe{[](std::uint32_t) {}, 0x1234,
                     [this](IpFamily) { return test::NewFakeSocket(state); }};

    void SetUp() override { state.hostAnswers = true; }

    // The sequence the last request carried on the wire.
    std::uint16_t WireSequence() const { return LoadLe16(state.sent.back().data() + 6); }
};

TEST_F(ProbeSequenceTest, CountStartsAtZeroAndCountsUpWhileTheWireIsOffset) {
    const EchoResult first = probe.Exchange("192.0.2.7", 32);
    ASSERT_EQ(first.outcome, EchoOutcome::Reply);
    EXPECT_EQ(first.sequence, 0);
    const std::uint16_t offset = WireSequence();
    EXPECT_EQ(state.admitted->sequence, LoadBe16(state.sent.back().data() + 6));

    const EchoResult second = probe.Exchange("192.0.2.7", 32);
    ASSERT_EQ(second.outcome, EchoOutcome::Reply);
    EXPECT_EQ(second.sequence, 1);
    EXPECT_EQ(WireSequence(), static_cast<std::uint16_t>(offset + 1));
    EXPECT_EQ(probe.nextSequence, 2);
    EXPECT_EQ(state.sent.back().size(), 44u);
}

TEST_F(ProbeSequenceTest, CountWrapsAfter65535) {
    probe.nextSequence = 65535;
    EXPECT_EQ(probe.Exchange("192.0.2.7", 32).sequence, 65535);
    EXPECT_EQ(probe.Exchange("192.0.2.7", 32).sequence, 0);
    EXPECT_EQ(probe.nextSequence, 1);
}

TEST(EchoProbeIdentityTest, IdentifierIsTheLowHalfOfTheProcessId) {
    EXPECT_EQ(ProcessIdentifier(), static_cast<std::uint16_t>(getpid() & 0xFFFF));
}

}  // namespace
}  // namespace vigilon
