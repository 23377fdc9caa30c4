#include <gtest/gtest.h>

#include "ProbeResult.h"

namespace vigilon {
namespace {

TEST(ProbeResult, OnlyAnEchoReplyIsAnAnswerAndEverythingElseIsCounted) {
    std::int32_t counter = 7;
    EXPECT_FALSE(IsTimedOut(counter, "64 bytes from 192.0.2.7: icmp_seq = 0.  time: 3 ms"));
    EXPECT_EQ(counter, 7);
    for (const char* failure :
         {"timed out", "Can't resolve nowhere.invalid", "sendto failed: 101",
          "non-echo type 3 recvd", "someone else's packet!", "64 bytes", ""}) {
        EXPECT_TRUE(IsTimedOut(counter, failure)) << failure;
    }
    EXPECT_EQ(counter, 14);
}

TEST(ProbeResult, StatusWordCallsOnlyAnAnswerOnline) {
    EXPECT_EQ(StatusWord("64 bytes from 192.0.2.7: icmp_seq = 0.  time: 3 ms"), "ONLINE");
    EXPECT_EQ(StatusWord("timed out"), "OFFLINE");
    EXPECT_EQ(StatusWord("non-echo type 3 recvd"), "OFFLINE");
}

}  // namespace
}  // namespace vigilon
