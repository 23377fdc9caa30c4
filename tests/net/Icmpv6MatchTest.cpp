// Which ICMPv6 messages answer a request, or are errors about it: read as an
// IPv6 socket hands them over, without the IP header, and matched field by
// field. Messages are held in buffers of their exact size, so a read past
// the end shows under the address sanitizer.

#include <gtest/gtest.h>
#include "SystemSockets.h"

#include <vector>

#include "ByteOrder.h"
#include "EchoMatch.h"
#include "EchoRequest.h"
#include "Icmpv6Message.h"
#include "TestAddress.h"

namespace vigilon {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kHost = "2001:db8:1::5";
constexpr const char* kRouter = "2001:db8::1";

class Icmpv6MatchTest : public ::testing::Test {
protected:
    Bytes request = BuildEchoRequest(EchoLayout::NetworkOrder, 128, 0xBEEF, 7, 56, 987654321);
    IpAddress host = test::V6Address(kHost);

    SentEcho Sent() const { return {request.data(), static_cast<int>(request.size()), host}; }

    // The host's reply: type 129 and the checksum the kernel would put in.
    Bytes Reply() const {
        Bytes reply = request;
        reply[0] = 129;
        reply[2] ^= 0x5A;
        return reply;
    }

    // From the router: an error of type and code whose four bytes after the
    // checksum hold info, quoting an IPv6 header of nextHeader to quotedTo
    // and the first quotedBytes of the request, which went out with the
    // checksum the kernel made.
    Bytes ErrorAbout(std::uint8_t type, std::uint8_t code, int quotedBytes,
                     const char* quotedTo = kHost, std::uint8_t nextHeader = 58,
                     std::uint32_t info = 0) const {
        Bytes error = {type, code, 0x12, 0x34};
        for (int shift = 24; shift >= 0; shift -= 8)
            error.push_back(static_cast<std::uint8_t>(info >> shift));
        Bytes quotedIp(40, 0);
        quotedIp[0] = 0x60;
        quotedIp[6] = nextHeader;
        quotedIp[7] = 64;
        inet_pton(AF_INET6, "2001:db8::2", quotedIp.data() + 8);
        inet_pton(AF_INET6, quotedTo, quotedIp.data() + 24);
        error.insert(error.end(), quotedIp.begin(), quotedIp.end());
        Bytes quoted(request.begin(), request.begin() + quotedBytes);
        quoted[2] ^= 0xA5;  // the kernel's checksum, over the addresses too
        error.insert(error.end(), quoted.begin(), quoted.end());
        return error;
    }

    static ReceivedEcho Read(const Bytes& message, const char* from = kRouter) {
        return ReadIcmpv6Message(message.data(), static_cast<int>(message.size()),
                                 test::V6Address(from));
    }
    bool Answers(const Bytes& message, const char* from = kHost) const {
        return IsAnswerTo(Sent(), Read(message, from));
    }
    bool About(const Bytes& message) const { return IsErrorAbout(Sent(), Read(message)); }
};

TEST_F(Icmpv6MatchTest, OnlyTheHostsFaithfulReplyAnswers) {
    const ReceivedEcho reply = Read(Reply(), kHost);
    EXPECT_EQ(reply.kind, ReceivedEcho::Kind::Reply);
    EXPECT_EQ(reply.headerBytes, 40);  // counted, though not handed over
    EXPECT_EQ(reply.messageBytes, 64);
    EXPECT_TRUE(Answers(Reply()));

    EXPECT_FALSE(Answers(Reply(), "2001:db8:1::6"));  // from elsewhere
    for (const int at : {4, 5, 6, 7, 8, 15, 63}) {    // identifier, sequence, stamp, data
        Bytes altered = Reply();
        altered[at] ^= 0x01;
        EXPECT_FALSE(Answers(altered)) << "byte " << at << " changed";
    }
    Bytes longer = Reply();
    longer.push_back(0);
    EXPECT_FALSE(Answers(longer));
    EXPECT_FALSE(Answers(request));  // the request itself, seen on the loopback
    EXPECT_EQ(Read(request).kind, ReceivedEcho::Kind::Other);
    EXPECT_EQ(Read(Bytes(7, 129)).kind, ReceivedEcho::Kind::Nothing);  // a runt
}

TEST_F(Icmpv6MatchTest, ErrorQuotingTheRequestIsAboutItWhateverItsChecksum) {
    EXPECT_TRUE(About(ErrorAbout(1, 0, 8)));  // the minimal quote
    EXPECT_TRUE(About(ErrorAbout(3, 0, 64)));
    EXPECT_TRUE(About(ErrorAbout(2, 0, 64, kHost, 58, 1280)));
    EXPECT_TRUE(About(ErrorAbout(4, 0, 30)));

    for (const int at : {48, 49, 52, 53, 54, 55, 48 + 40}) {  // type, code, numbers, data
        Bytes error = ErrorAbout(1, 3, 64);
        error[at] ^= 0x01;
        EXPECT_FALSE(About(error)) << "byte " << at << " changed";
    }
    EXPECT_FALSE(About(ErrorAbout(1, 3, 64, "2001:db8:1::6")));  // to another host
    EXPECT_FALSE(About(ErrorAbout(1, 3, 64, kHost, 17)));        // quotes UDP
    EXPECT_FALSE(About(ErrorAbout(1, 3, 64, kHost, 0)));         // behind an extension header
    EXPECT_FALSE(About(ErrorAbout(1, 3, 7)));                    // too short to tell
    EXPECT_FALSE(About(ErrorAbout(129, 0, 64)));                 // an echo reply that looks so
    EXPECT_FALSE(About(ErrorAbout(135, 0, 64)));  // neighbour solicitation is no error
}

TEST_F(Icmpv6MatchTest, ErrorsNameTheirOutcomeCodeAndWhatTheyAdd) {
    const ReceivedEcho tooBig = Read(ErrorAbout(2, 0, 8, kHost, 58, 1280));
    EXPECT_EQ(tooBig.outcome, EchoOutcome::PacketTooBig);
    EXPECT_EQ(tooBig.icmpInfo, 1280u);  // the next hop's MTU
    const ReceivedEcho problem = Read(ErrorAbout(4, 1, 8, kHost, 58, 40));
    EXPECT_EQ(problem.outcome, EchoOutcome::ParameterProblem);
    EXPECT_EQ(problem.icmpCode, 1);
    EXPECT_EQ(problem.icmpInfo, 40u);  // the pointer
    const ReceivedEcho unreachable = Read(ErrorAbout(1, 4, 8, kHost, 58, 0xFFFFFFFF));
    EXPECT_EQ(unreachable.outcome, EchoOutcome::Unreachable);
    EXPECT_EQ(unreachable.icmpCode, 4);
    EXPECT_EQ(unreachable.icmpInfo, 0u);  // unused there
    EXPECT_EQ(Read(ErrorAbout(3, 1, 8)).outcome, EchoOutcome::TimeExceeded);
    EXPECT_EQ(unreachable.quotedDestination, host);
    EXPECT_EQ(unreachable.source, test::V6Address(kRouter));
}

}  // namespace
}  // namespace vigilon
