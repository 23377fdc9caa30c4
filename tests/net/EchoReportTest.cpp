// Which ICMP errors are about the request sent: the quoted IP header and
// message, field by field. Datagrams are held in buffers of their exact size,
// so a read past the end shows under the address sanitizer.

#include <gtest/gtest.h>
#include "SystemSockets.h"

#include <vector>

#include "ByteOrder.h"
#include "EchoMatch.h"
#include "IcmpWire.h"
#include "Ipv4Datagram.h"
#include "TestAddress.h"

namespace vigilon {
namespace {

std::vector<std::uint8_t> IpHeader(const char* from, const char* to, std::uint8_t protocol) {
    std::vector<std::uint8_t> header(20, 0);
    header[0] = 0x45;
    header[8] = 61;
    header[9] = protocol;
    inet_pton(AF_INET, from, header.data() + 12);
    inet_pton(AF_INET, to, header.data() + 16);
    return header;
}

class EchoReportTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> request;
    IpAddress host = test::V4Address("198.51.100.5");

    void SetUp() override {
        request.assign(64, 0);
        request[0] = 8;
        StoreBe16(request.data() + 4, 0xBEEF);
        StoreBe16(request.data() + 6, 7);
        for (std::size_t i = 8; i < request.size(); ++i)
            request[i] = static_cast<std::uint8_t>(i);
        StoreLe16(request.data() + 2, IcmpChecksum(request.data(), 64));
    }

    SentEcho Sent() const { return {request.data(), static_cast<int>(request.size()), host}; }

    // From the router 192.0.2.1: an error of type and code that quotes the
    // request's IP header and its first quotedBytes bytes.
    std::vector<std::uint8_t> ErrorAbout(std::uint8_t type, std::uint8_t code, int quotedBytes,
                                         const char* quotedTo = "198.51.100.5") const {
        std::vector<std::uint8_t> datagram = IpHeader("192.0.2.1", "192.0.2.2", IPPROTO_ICMP);
        const std::uint8_t error[8] = {type, code, 0x12, 0x34, 0, 0, 0x05, 0xDC};
        datagram.insert(datagram.end(), error, error + 8);
        const std::vector<std::uint8_t> quoted = IpHeader("192.0.2.2", quotedTo, IPPROTO_ICMP);
        datagram.insert(datagram.end(), quoted.begin(), quoted.end());
        datagram.insert(datagram.end(), request.begin(), request.begin() + quotedBytes);
        return datagram;
    }

    static ReceivedEcho Read(const std::vector<std::uint8_t>& datagram) {
        return ReadIpv4Datagram(datagram.data(), static_cast<int>(datagram.size()),
                                test::V4Address("192.0.2.1"));
    }

    bool About(const std::vector<std::uint8_t>& datagram) const {
        return IsErrorAbout(Sent(), Read(datagram));
    }
};

TEST_F(EchoReportTest, ErrorQuotingTheRequestIsAboutIt) {
    EXPECT_TRUE(About(ErrorAbout(3, 1, 8)));    // the minimal quote
    EXPECT_TRUE(About(ErrorAbout(11, 0, 64)));  // the whole request
    EXPECT_TRUE(About(ErrorAbout(12, 0, 20)));
}

TEST_F(EchoReportTest, AnyQuotedDifferenceMakesItSomeoneElses) {
    // Type, code, checksum, identifier, sequence and a data byte.
    for (const int at : {20 + 8 + 20 + 0, 49, 50, 52, 53, 54, 55, 20 + 8 + 20 + 40}) {
        std::vector<std::uint8_t> datagram = ErrorAbout(3, 1, 64);
        datagram[at] ^= 0x01;
        EXPECT_FALSE(About(datagram)) << "byte " << at << " changed";
    }
    EXPECT_FALSE(About(ErrorAbout(3, 1, 8, "198.51.100.6")));  // to another host
    EXPECT_FALSE(About(ErrorAbout(3, 1, 7)));                  // too short to tell
    std::vector<std::uint8_t> udp = ErrorAbout(3, 3, 8);
    udp[20 + 8 + 9] = IPPROTO_UDP;
    EXPECT_FALSE(About(udp));
}

TEST_F(EchoReportTest, OnlyErrorTypesQuoteARequest) {
    EXPECT_FALSE(About(ErrorAbout(0, 0, 64)));  // an echo reply that happens to look so
    EXPECT_FALSE(About(ErrorAbout(8, 0, 64)));
    EXPECT_FALSE(About(ErrorAbout(13, 0, 64)));  // a timestamp request is no error
    EXPECT_FALSE(IsErrorAbout(Sent(), Read({})));
}

TEST_F(EchoReportTest, QuotedHeaderWithOptionsMovesTheMessage) {
    std::vector<std::uint8_t> datagram = ErrorAbout(3, 1, 8);
    datagram[20 + 8] = 0x46;  // six words: four bytes of options follow
    datagram.insert(datagram.begin() + 20 + 8 + 20, {1, 1, 1, 0});
    EXPECT_TRUE(About(datagram));
    datagram[20 + 8] = 0x44;  // four words: no IP header at all
    EXPECT_FALSE(About(datagram));
}

TEST_F(EchoReportTest, DetailsNameTheCodeAndWhatTheErrorAdds) {
    const ReceivedEcho fragmentation = Read(ErrorAbout(3, 4, 8));
    EXPECT_EQ(fragmentation.outcome, EchoOutcome::Unreachable);
    EXPECT_EQ(fragmentation.icmpCode, 4);
    EXPECT_EQ(fragmentation.icmpInfo, 1500u);  // next-hop MTU

    std::vector<std::uint8_t> parameter = ErrorAbout(12, 0, 8);
    parameter[24] = 9;
    const ReceivedEcho problem = Read(parameter);
    EXPECT_EQ(problem.outcome, EchoOutcome::ParameterProblem);
    EXPECT_EQ(problem.icmpInfo, 9u);  // the pointer

    std::vector<std::uint8_t> redirect = ErrorAbout(5, 1, 8);
    inet_pton(AF_INET, "192.0.2.9", redirect.data() + 24);
    const ReceivedEcho gateway = Read(redirect);
    EXPECT_EQ(gateway.outcome, EchoOutcome::Redirect);
    in_addr router{};
    router.s_addr = gateway.icmpInfo;
    EXPECT_EQ(IpAddress::V4(router).Text(), "192.0.2.9");
}

TEST_F(EchoReportTest, EmptyDatagramHasNoDetails) {
    const ReceivedEcho nothing = ReadIpv4Datagram(nullptr, 0, IpAddress{});
    EXPECT_EQ(nothing.kind, ReceivedEcho::Kind::Nothing);
    EXPECT_EQ(nothing.icmpType, 0);
}

}  // namespace
}  // namespace vigilon
