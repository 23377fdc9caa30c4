// What the program without a window writes on standard error: a journal
// makes one entry of each line, so every line must stand alone.
#include <gtest/gtest.h>

#include <sstream>

#include "StreamProblems.h"

namespace vigilon::app {
namespace {

TEST(StreamProblems, EachReportLineIsNamedAndEachLogMessageStaysOneLine) {
    std::ostringstream err;
    StreamProblems problems(err);
    problems.Report("Please provide entries for the following:\n\nTarget Address\n");
    problems.WriteLogLine("SMTP mail.example.org 421 busy\r\n421 try later");
    problems.WriteLogLine("***** EXITING Vigilon *****");
    EXPECT_EQ(err.str(),
              "vigilon: Please provide entries for the following:\n"
              "vigilon: Target Address\n"
              "SMTP mail.example.org 421 busy  421 try later\n"
              "***** EXITING Vigilon *****\n");
}

}  // namespace
}  // namespace vigilon::app
