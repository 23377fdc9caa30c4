#include <gtest/gtest.h>

#include "ProbeResult.h"

namespace vigilon {
namespace {

TEST(ProbeResult, OnlyTheExactTimeOutTextCountsAndIsCounted) {
    std::int32_t counter = 7;
    EXPECT_TRUE(IsTimedOut(counter, "timed out"));
    EXPECT_EQ(counter, 8);
    for (const char* answer : {"Timed out", "timed out ", "sendto failed: 101", ""}) {
        EXPECT_FALSE(IsTimedOut(counter, answer)) << answer;
    }
    EXPECT_EQ(counter, 8);
}

TEST(ProbeResult, StatusWordCallsEverythingButATimeOutOnline) {
    EXPECT_EQ(StatusWord("timed out"), "OFFLINE");
    EXPECT_EQ(StatusWord("non-echo type 3 recvd"), "ONLINE");
    EXPECT_EQ(StatusWord(""), "ONLINE");
}

}  // namespace
}  // namespace vigilon
