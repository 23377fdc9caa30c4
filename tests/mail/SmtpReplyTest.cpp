#include <gtest/gtest.h>

#include "SmtpReply.h"

namespace vigilon {
namespace {

TEST(SmtpReply, IncompleteUntilFinalLineEnds) {
    EXPECT_FALSE(ScanReply("").complete);
    EXPECT_FALSE(ScanReply("250 OK").complete);
    EXPECT_FALSE(ScanReply("250-first\r\n250-second\r\n").complete);
}

TEST(SmtpReply, MultiLineReplyTakesCodeFromFinalLine) {
    const std::string text = "250-vm Hello\r\n250-SIZE 100\r\n554 no\r\n354 next";
    ReplyScan scan = ScanReply(text);
    ASSERT_TRUE(scan.complete);
    EXPECT_EQ(scan.code, 554);
    EXPECT_EQ(text.substr(scan.length), "354 next");
}

TEST(SmtpReply, OddFinalLinesStillEndAReply) {
    EXPECT_EQ(ScanReply("221\r\n").code, 221);   // code alone
    EXPECT_EQ(ScanReply("220 hi\n").code, 220);  // bare LF
    ReplyScan foreign = ScanReply("hello there\r\n");
    EXPECT_TRUE(foreign.complete);
    EXPECT_EQ(foreign.code, 0);
    EXPECT_EQ(ReplyCode(" 25x"), 25);
}

}  // namespace
}  // namespace vigilon
