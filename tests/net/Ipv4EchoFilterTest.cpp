// The raw socket's kernel filter, run on datagrams by a small interpreter of
// the classic BPF instructions it uses: what it keeps and what it drops.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

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

// How many instructions the kernel filters fd with; 0 for none.
int AttachedLength(int fd) {
    sock_filter none{};
    socklen_t length = 0;
    if (getsockopt(fd, SOL_SOCKET, SO_GET_FILTER, &none, &length) != 0) return -1;
    return static_cast<int>(length);
}

// The filter goes on a socket once others' traffic reaches it: queued
// before the first request (thrown away then), or read after it. Any socket
// takes a classic filter; a datagram pair stands in for the raw socket.
TEST_F(Ipv4EchoFilterTest, TheSocketIsFilteredOnlyOnceOthersTrafficArrives) {
    admission.sequence = 7;
    const std::vector<sock_filter> program = Ipv4EchoFilter(admission);
    const auto send = [](int fd, const std::vector<std::uint8_t>& datagram) {
        ASSERT_EQ(write(fd, datagram.data(), datagram.size()),
                  static_cast<ssize_t>(datagram.size()));
    };
    for (const bool queuedFirst : {false, true}) {
        int pair[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_DGRAM, 0, pair), 0);
        LazySocketFilter filter;
        filter.Prepare(program);
        if (queuedFirst) send(pair[1], Reply(0x6824, 7));
        filter.BeforeFirstSend(pair[0]);
        if (queuedFirst) {
            EXPECT_EQ(AttachedLength(pair[0]), static_cast<int>(program.size()));
            std::uint8_t left;
            EXPECT_LT(recv(pair[0], &left, 1, MSG_DONTWAIT), 0) << "the queued datagram is gone";
        } else {
            EXPECT_EQ(AttachedLength(pair[0]), 0) << "nothing queued: no filter yet";
            const std::vector<std::uint8_t> ours = Reply(0x2468, 7);
            filter.Note(pair[0], ours.data(), ours.size());
            EXPECT_EQ(AttachedLength(pair[0]), 0) << "our own reply needs no filter";
            const std::vector<std::uint8_t> theirs = Reply(0x2468, 8);
            filter.Note(pair[0], theirs.data(), theirs.size());
            EXPECT_EQ(AttachedLength(pair[0]), static_cast<int>(program.size()));
        }
        close(pair[0]);
        close(pair[1]);
    }
}

}  // namespace
}  // namespace vigilon
