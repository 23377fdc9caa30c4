// Windows' echo (IcmpSendEcho2) against the loopback address, through the
// probe as the monitor uses it: the answer is read by the same rules and
// gives the same result line as on Linux.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CEchoProbe.h"
#include "ProbeText.h"

namespace vigilon::test {
namespace {

TEST(WindowsEcho, LoopbackAnswersWithTheProbesLines) {
    std::vector<std::uint32_t> pauses;
    CEchoProbe probe([&](std::uint32_t ms) { pauses.push_back(ms); });

    const EchoResult first = probe.Exchange("127.0.0.1", 0);
    ASSERT_EQ(first.outcome, EchoOutcome::Reply) << ProbeText(first, "127.0.0.1");
    EXPECT_EQ(first.source.Text(), "127.0.0.1");
    EXPECT_EQ(first.sequence, 0);
    EXPECT_GT(first.ttl, 0);
    EXPECT_LT(first.roundTripUs, 1'000'000);
    EXPECT_EQ(pauses, std::vector<std::uint32_t>{CEchoProbe::kPauseAfterReplyMs});

    // Each probe counts on; the line is the one the log and mails show.
    const std::string line = probe.Ping("127.0.0.1", 0);
    EXPECT_TRUE(std::regex_match(
        line, std::regex(R"(\d+ bytes from 127\.0\.0\.1: icmp_seq = 1\.  time: \d+ ms)")))
        << line;

    // The largest request comes back whole: the data Windows echoes is
    // compared with what was sent.
    const EchoResult largest =
        probe.Exchange("127.0.0.1", CEchoProbe::kBufferSize - CEchoProbe::kHeaderSize);
    ASSERT_EQ(largest.outcome, EchoOutcome::Reply) << ProbeText(largest, "127.0.0.1");
    EXPECT_EQ(largest.messageBytes - first.messageBytes,
              CEchoProbe::kBufferSize - CEchoProbe::kHeaderSize - CEchoProbe::kDefaultDataSize);
    EXPECT_EQ(largest.ipHeaderBytes, 20);
}

}  // namespace
}  // namespace vigilon::test
