// The raw ICMPv6 socket's kernel filter, run on messages as the socket sees
// them (no IP header) by the test interpreter: what it keeps and drops.

#include <gtest/gtest.h>

#include <vector>

#include "BpfInterpreter.h"
#include "ByteOrder.h"
#include "EchoRequest.h"
#include "Ipv6EchoFilter.h"

namespace vigilon {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Ipv6EchoFilterTest : public ::testing::Test {
protected:
    Bytes request = BuildEchoRequest(EchoLayout::NetworkOrder, 128, 0x2468, 7, 56, 1);
    EchoAdmission admission{0x2468, std::nullopt, false};

    bool Keeps(const Bytes& message) const {
        return test::RunFilter(Ipv6EchoFilter(admission), message) != 0;
    }

    Bytes Reply(std::uint16_t identifier, std::uint16_t sequence) const {
        Bytes reply = request;
        reply[0] = 129;
        StoreBe16(reply.data() + 4, identifier);
        StoreBe16(reply.data() + 6, sequence);
        return reply;
    }

    // An error quoting an IPv6 header of nextHeader and a message of
    // quotedType with the identifier.
    Bytes ErrorAbout(std::uint16_t identifier, std::uint8_t nextHeader = 58,
                     std::uint8_t quotedType = 128) const {
        Bytes error = {1, 3, 0, 0, 0, 0, 0, 0};
        Bytes quotedIp(40, 0);
        quotedIp[0] = 0x60;
        quotedIp[6] = nextHeader;
        error.insert(error.end(), quotedIp.begin(), quotedIp.end());
        error.insert(error.end(), request.begin(), request.begin() + 8);
        error[48] = quotedType;
        StoreBe16(error.data() + 48 + 4, identifier);
        return error;
    }
};

TEST_F(Ipv6EchoFilterTest, KeepsRepliesToTheIdentifierAndOneRequestsOnlyItsSequence) {
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_TRUE(Keeps(Reply(0x2468, 8)));
    EXPECT_FALSE(Keeps(Reply(0x6824, 7)));
    EXPECT_FALSE(Keeps(ErrorAbout(0x2468)));  // errors were not asked for
    admission.sequence = 7;
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_FALSE(Keeps(Reply(0x2468, 8)));
}

TEST_F(Ipv6EchoFilterTest, WithErrorsKeepsThoseThatQuoteARequestOfTheIdentifier) {
    admission.errors = true;
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_TRUE(Keeps(ErrorAbout(0x2468)));
    EXPECT_FALSE(Keeps(ErrorAbout(0x6824)));
    EXPECT_FALSE(Keeps(ErrorAbout(0x2468, 17)));       // quotes UDP
    EXPECT_FALSE(Keeps(ErrorAbout(0x2468, 58, 129)));  // quotes a reply
    Bytes cut = ErrorAbout(0x2468);
    cut.resize(cut.size() - 3);  // the quote ends inside the identifier
    EXPECT_FALSE(Keeps(cut));
}

}  // namespace
}  // namespace vigilon
