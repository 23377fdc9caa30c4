// The raw socket's kernel filter, run on datagrams by a small interpreter of
// the classic BPF instructions it uses: what it keeps and what it drops.

#include <gtest/gtest.h>

#include <vector>

#include "BpfInterpreter.h"
#include "ByteOrder.h"
#include "EchoRequest.h"
#include "FakeEchoSocket.h"
#include "Ipv4EchoFilter.h"

namespace vigilon {
namespace {

class Ipv4EchoFilterTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::NetworkOrder, 8, 0x2468, 7, 56, 1);
    EchoAdmission admission{0x2468, std::nullopt, false};

    bool Keeps(const std::vector<std::uint8_t>& datagram) const {
        return test::RunFilter(Ipv4EchoFilter(admission), datagram) != 0;
    }

    std::vector<std::uint8_t> Reply(std::uint16_t identifier, std::uint16_t sequence) const {
        std::vector<std::uint8_t> reply = test::ReplyTo(request);
        StoreBe16(reply.data() + 4, identifier);
        StoreBe16(reply.data() + 6, sequence);
        return test::WithIpv4Header(reply);
    }

    // An error quoting the request with the given identifier, behind a
    // quoted IP header of quotedHeader bytes.
    std::vector<std::uint8_t> ErrorAbout(std::uint16_t identifier, int quotedHeader = 20,
                                         std::uint8_t quotedType = 8) const {
        std::vector<std::uint8_t> quoted(quotedHeader, 0);
        quoted[0] = static_cast<std::uint8_t>(0x40 | quotedHeader / 4);
        quoted.insert(quoted.end(), request.begin(), request.begin() + 8);
        quoted[quotedHeader] = quotedType;
        StoreBe16(quoted.data() + quotedHeader + 4, identifier);
        std::vector<std::uint8_t> error = {3, 1, 0, 0, 0, 0, 0, 0};
        error.insert(error.end(), quoted.begin(), quoted.end());
        return test::WithIpv4Header(error);
    }
};

TEST_F(Ipv4EchoFilterTest, KeepsRepliesToTheIdentifierAndDropsTheRest) {
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_TRUE(Keeps(Reply(0x2468, 8)));
    EXPECT_FALSE(Keeps(Reply(0x6824, 7)));
    EXPECT_FALSE(Keeps(ErrorAbout(0x2468)));  // errors were not asked for
    std::vector<std::uint8_t> options = Reply(0x2468, 7);
    options[0] = 0x46;  // a longer IP header moves the message
    options.insert(options.begin() + 20, {1, 1, 1, 0});
    EXPECT_TRUE(Keeps(options));
}

TEST_F(Ipv4EchoFilterTest, OneRequestsFilterKeepsOnlyItsSequence) {
    admission.sequence = 7;
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_FALSE(Keeps(Reply(0x2468, 8)));
    EXPECT_FALSE(Keeps(Reply(0x6824, 7)));
}

TEST_F(Ipv4EchoFilterTest, WithErrorsKeepsThoseThatQuoteARequestOfTheIdentifier) {
    admission.errors = true;
    EXPECT_TRUE(Keeps(Reply(0x2468, 7)));
    EXPECT_TRUE(Keeps(ErrorAbout(0x2468)));
    EXPECT_TRUE(Keeps(ErrorAbout(0x2468, 24)));  // quoted IP options
    EXPECT_FALSE(Keeps(ErrorAbout(0x6824)));
    EXPECT_FALSE(Keeps(ErrorAbout(0x2468, 20, 0)));  // quotes a reply, not a request
    std::vector<std::uint8_t> cut = ErrorAbout(0x2468);
    cut.resize(cut.size() - 3);  // the quote ends inside the identifier
    EXPECT_FALSE(Keeps(cut));
}

}  // namespace
}  // namespace vigilon
