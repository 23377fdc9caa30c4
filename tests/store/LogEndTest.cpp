// The end of the log as the program's own viewer shows it.
#include <gtest/gtest.h>

#include <fstream>

#include "LogEnd.h"
#include "StoreTestDir.h"

namespace vigilon::test {
namespace {

using LogEnd = StoreTestDir;

void Write(const std::string& text) { std::ofstream("Vigilon.log", std::ios::binary) << text; }

TEST_F(LogEnd, ShowsTheWholeSmallLogWithPlainLineEnds) {
    Write("01/01/00 00:00:00 STARTED\r\n01/01/00 00:00:05 Target timed out\r\n");
    EXPECT_EQ(ReadLogEnd("Vigilon.log", 1024),
              "01/01/00 00:00:00 STARTED\n01/01/00 00:00:05 Target timed out\n");
}

TEST_F(LogEnd, ALongLogShowsItsLastWholeLinesWithinTheLimit) {
    std::string log;
    for (int i = 0; i < 1000; ++i)
        log += "line " + std::to_string(i) + "\r\n";
    Write(log);
    const std::string end = ReadLogEnd("Vigilon.log", 40);
    EXPECT_LE(end.size(), 40u);
    EXPECT_EQ(end.substr(0, 5), "line ") << "starts at a line's beginning: " << end;
    EXPECT_EQ(end.substr(end.size() - 9), "line 999\n");
}

TEST_F(LogEnd, AMissingOrEmptyLogShowsNothing) {
    EXPECT_EQ(ReadLogEnd("Vigilon.log", 1024), "");
    Write("");
    EXPECT_EQ(ReadLogEnd("Vigilon.log", 1024), "");
}

}  // namespace
}  // namespace vigilon::test
