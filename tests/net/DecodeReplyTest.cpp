// Reading one received datagram into the probe's result text.

#include <gtest/gtest.h>
#include "SystemSockets.h"

#include <array>
#include <regex>
#include <vector>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "MonotonicClock.h"
#include "ProbeResult.h"

namespace vigilon {
namespace {

constexpr std::uint16_t kOwnId = 0x2468;

class DecodeReplyTest : public ::testing::Test {
protected:
    std::array<std::uint8_t, CEchoProbe::kBufferSize> datagram{};
    CEchoProbe probe{[](std::uint32_t) {}, kOwnId};
    sockaddr_in source{};

    void SetUp() override {
        source.sin_family = AF_INET;
        inet_pton(AF_INET, "192.0.2.7", &source.sin_addr);
    }

    // An IP header of ipHeader bytes and an ICMP message sent ageMs ago.
    void MakeDatagram(int ipHeader, std::uint8_t type, std::uint16_t identifier,
                      std::uint16_t sequence, std::uint32_t ageMs) {
        datagram[0] = static_cast<std::uint8_t>(0x40 | (ipHeader / 4));
        std::uint8_t* icmp = datagram.data() + ipHeader;
        icmp[0] = type;
        StoreLe16(icmp + 4, identifier);
        StoreLe16(icmp + 6, sequence);
        StoreLe32(icmp + 8, MonotonicMs() - ageMs);
    }

    std::string Decode(int byteCount) {
        return probe.DecodeReply(datagram.data(), byteCount, source);
    }
};

// The round-trip time is measured against the clock, so allow the test's own
// running time on top of the age given.
void ExpectReplyLine(const std::string& line, const std::string& head, int minimumMs) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, std::regex(head + R"(  time: (-?\d+) ms)"))) << line;
    const int ms = std::stoi(match[1]);
    EXPECT_GE(ms, minimumMs);
    EXPECT_LT(ms, minimumMs + 1000);
}

TEST_F(DecodeReplyTest, OwnReplyGivesCountSourceSequenceAndTime) {
    MakeDatagram(20, 0, kOwnId, 0, 12);
    ExpectReplyLine(Decode(64), R"(64 bytes from 192\.0\.2\.7: icmp_seq = 0\.)", 12);
}

TEST_F(DecodeReplyTest, SequenceIsReadUnsignedLowByteFirst) {
    MakeDatagram(20, 0, kOwnId, 0xFFFE, 0);
    ExpectReplyLine(Decode(64), R"(64 bytes from 192\.0\.2\.7: icmp_seq = 65534\.)", 0);
}

TEST_F(DecodeReplyTest, OnlyAnOwnReplyReadsAsAnAnswer) {
    MakeDatagram(20, 0, kOwnId, 0, 0);
    EXPECT_TRUE(IsAnswer(Decode(64)));
    EXPECT_FALSE(IsAnswer(Decode(27)));  // too few bytes
    MakeDatagram(20, 3, kOwnId, 0, 0);
    EXPECT_FALSE(IsAnswer(Decode(64)));  // non-echo type
    MakeDatagram(20, 0, kOwnId ^ 1, 0, 0);
    EXPECT_FALSE(IsAnswer(Decode(64)));  // someone else's
    for (const char* failure : {"timed out", "Unable to resolve 64 bytes from x",
                                "WSASocket() failed: 13", "sendto failed: 101", "", "64 bytes"})
        EXPECT_FALSE(IsAnswer(failure)) << failure;
}

TEST_F(DecodeReplyTest, IpOptionsMoveTheMessage) {
    MakeDatagram(24, 0, kOwnId, 3, 5);
    ExpectReplyLine(Decode(68), R"(68 bytes from 192\.0\.2\.7: icmp_seq = 3\.)", 5);
}

TEST_F(DecodeReplyTest, TooShortDatagramIsReportedBeforeAnythingElse) {
    MakeDatagram(20, 3, 0x1111, 0, 0);  // neither a reply nor ours: must not matter
    EXPECT_EQ(Decode(27), "Too few bytes from 192.0.2.7");
    MakeDatagram(24, 0, kOwnId, 0, 0);
    EXPECT_EQ(Decode(31), "Too few bytes from 192.0.2.7");
}

TEST_F(DecodeReplyTest, EightBytesOfMessageAreEnough) {
    MakeDatagram(20, 3, kOwnId, 0, 0);
    EXPECT_EQ(Decode(28), "non-echo type 3 recvd");
}

TEST_F(DecodeReplyTest, ReplyWithoutATimestampShowsNoTime) {
    // Exactly the 28 bytes received: nothing may be read beyond them.
    MakeDatagram(20, 0, kOwnId, 5, 0);
    const std::vector<std::uint8_t> exact(datagram.begin(), datagram.begin() + 28);
    EXPECT_EQ(probe.DecodeReply(exact.data(), 28, source),
              "28 bytes from 192.0.2.7: icmp_seq = 5.  time: 0 ms");
    EXPECT_EQ(probe.DecodeReply(nullptr, 0, source), "Too few bytes from 192.0.2.7");
}

TEST_F(DecodeReplyTest, OtherMessageTypesAreNamed) {
    MakeDatagram(20, 3, kOwnId, 0, 0);
    EXPECT_EQ(Decode(56), "non-echo type 3 recvd");
    MakeDatagram(20, 8, kOwnId, 0, 0);
    EXPECT_EQ(Decode(64), "non-echo type 8 recvd");
    MakeDatagram(20, 200, kOwnId, 0, 0);
    EXPECT_EQ(Decode(64), "non-echo type 200 recvd");
}

TEST_F(DecodeReplyTest, ReplyToAnotherIdentifierIsSomeoneElses) {
    MakeDatagram(20, 0, kOwnId ^ 0x0100, 0, 0);
    EXPECT_EQ(Decode(64), "someone else's packet!");
    // Our identifier in network byte order is not ours either.
    MakeDatagram(20, 0, static_cast<std::uint16_t>((kOwnId >> 8) | (kOwnId << 8)), 0, 0);
    EXPECT_EQ(Decode(64), "someone else's packet!");
}

}  // namespace
}  // namespace vigilon
