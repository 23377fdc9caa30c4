// Which received datagrams answer the request sent, field by field. Datagrams
// are held in buffers of their exact size, so a read past the end shows
// under the address sanitizer.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "EchoMatch.h"
#include "EchoRequest.h"
#include "Ipv4Datagram.h"
#include "TestAddress.h"

namespace vigilon {
namespace {

class EchoAnswerTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::LowByteFirst, 8, 0x2468, 0, 36, 123456789);
    IpAddress host = test::V4Address("192.0.2.7");

    SentEcho Sent() const { return {request.data(), 44, host}; }

    // The faithful reply: an IP header of ipHeader bytes, then the request
    // with type 0 and another checksum.
    static std::vector<std::uint8_t> ReplyTo(const std::uint8_t* message, int length,
                                             int ipHeader = 20) {
        std::vector<std::uint8_t> datagram(ipHeader, 0);
        datagram[0] = static_cast<std::uint8_t>(0x40 | (ipHeader / 4));
        datagram.insert(datagram.end(), message, message + length);
        datagram[ipHeader] = 0;
        datagram[ipHeader + 2] ^= 0x08;
        return datagram;
    }

    bool Answers(const std::vector<std::uint8_t>& datagram, const IpAddress& source) const {
        return IsAnswerTo(
            Sent(), ReadIpv4Datagram(datagram.data(), static_cast<int>(datagram.size()), source));
    }
};

TEST_F(EchoAnswerTest, FaithfulReplyFromTheHostAnswers) {
    EXPECT_TRUE(Answers(ReplyTo(request.data(), 44), host));
    EXPECT_TRUE(Answers(ReplyTo(request.data(), 44, 24), host));  // IP options
}

TEST_F(EchoAnswerTest, ReplyFromAnotherAddressDoesNot) {
    EXPECT_FALSE(Answers(ReplyTo(request.data(), 44), test::V4Address("198.51.100.7")));
}

TEST_F(EchoAnswerTest, AnyChangeFromTheIdentifierOnDoesNot) {
    // Identifier, sequence, each timestamp byte, first and last data byte.
    for (const int at : {4, 5, 6, 7, 8, 9, 10, 11, 12, 43}) {
        std::vector<std::uint8_t> reply = ReplyTo(request.data(), 44);
        reply[20 + at] ^= 0x01;
        EXPECT_FALSE(Answers(reply, host)) << "byte " << at << " changed";
    }
}

TEST_F(EchoAnswerTest, RequestSeenAgainDoesNot) {
    std::vector<std::uint8_t> looped = ReplyTo(request.data(), 44);
    looped[20] = 8;
    EXPECT_FALSE(Answers(looped, host));
}

TEST_F(EchoAnswerTest, ReplyOfAnotherLengthDoesNot) {
    EXPECT_FALSE(Answers(ReplyTo(request.data(), 43), host));
    std::array<std::uint8_t, 45> longer{};
    std::copy(request.begin(), request.begin() + 44, longer.begin());
    longer[44] = 0x45;
    EXPECT_FALSE(Answers(ReplyTo(longer.data(), 45), host));
    EXPECT_FALSE(Answers(ReplyTo(request.data(), 8), host));
    EXPECT_FALSE(Answers(std::vector<std::uint8_t>(1, 0x45), host));
    EXPECT_FALSE(IsAnswerTo(Sent(), ReadIpv4Datagram(nullptr, 0, host)));
}

}  // namespace
}  // namespace vigilon
