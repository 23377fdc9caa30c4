// The raw socket's kernel filter, run on datagrams by a small interpreter of
// the classic BPF instructions it uses: what it keeps and what it drops.

#include <gtest/gtest.h>

#include <vector>

#include "ByteOrder.h"
#include "EchoRequest.h"
#include "FakeEchoSocket.h"
#include "Ipv4EchoFilter.h"

namespace vigilon {
namespace {

// Runs program on packet as the kernel would; a load past the end drops it.
std::uint32_t RunFilter(const std::vector<sock_filter>& program,
                        const std::vector<std::uint8_t>& packet) {
    std::uint32_t a = 0;
    std::uint32_t x = 0;
    const auto byteAt = [&](std::uint32_t at, bool& ok) -> std::uint32_t {
        ok = at < packet.size();
        return ok ? packet[at] : 0;
    };
    for (std::size_t pc = 0; pc < program.size(); ++pc) {
        const sock_filter& i = program[pc];
        bool ok = true;
        switch (i.code) {
            case BPF_LDX | BPF_B | BPF_MSH: x = (byteAt(i.k, ok) & 0x0F) * 4; break;
            case BPF_LD | BPF_B | BPF_IND: a = byteAt(x + i.k, ok); break;
            case BPF_LD | BPF_H | BPF_IND: {
                bool second = true;
                a = byteAt(x + i.k, ok) << 8 | byteAt(x + i.k + 1, second);
                ok = ok && second;
                break;
            }
            case BPF_ALU | BPF_AND | BPF_K: a &= i.k; break;
            case BPF_ALU | BPF_LSH | BPF_K: a <<= i.k; break;
            case BPF_ALU | BPF_ADD | BPF_X: a += x; break;
            case BPF_MISC | BPF_TAX: x = a; break;
            case BPF_JMP | BPF_JEQ | BPF_K: pc += a == i.k ? i.jt : i.jf; break;
            case BPF_RET | BPF_K: return i.k;
            default: ADD_FAILURE() << "instruction " << i.code << " not interpreted"; return 0;
        }
        if (!ok) return 0;
    }
    ADD_FAILURE() << "the program ran off its end";
    return 0;
}

class Ipv4EchoFilterTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> request =
        BuildEchoRequest(EchoLayout::NetworkOrder, 8, 0x2468, 7, 56, 1);
    EchoAdmission admission{0x2468, std::nullopt, false};

    bool Keeps(const std::vector<std::uint8_t>& datagram) const {
        return RunFilter(Ipv4EchoFilter(admission), datagram) != 0;
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
