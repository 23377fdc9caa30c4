// Ravelin's command line: a host, the options answered at once, mistakes.
#include <gtest/gtest.h>

#include "RavelinCommandLine.h"

namespace vigilon::test {
namespace {

using ravelin::ParseRavelinCommandLine;
using ravelin::RavelinCommandLine;
using Action = RavelinCommandLine::Action;

TEST(RavelinCommandLine, AHostOptionsAndMistakes) {
    EXPECT_EQ(ParseRavelinCommandLine({}).action, Action::Run);
    const RavelinCommandLine withHost = ParseRavelinCommandLine({"192.0.2.7"});
    EXPECT_EQ(withHost.action, Action::Run);
    EXPECT_EQ(withHost.host, "192.0.2.7");
    EXPECT_EQ(ParseRavelinCommandLine({"host", "--version"}).action, Action::ShowVersion)
        << "answered whatever else";
    EXPECT_EQ(ParseRavelinCommandLine({"--bogus", "-h"}).action, Action::ShowHelp);
    EXPECT_EQ(ParseRavelinCommandLine({"--colour"}).error, "unknown option '--colour'");
    EXPECT_EQ(ParseRavelinCommandLine({"a", "b"}).error, "only one host may be given");
}

}  // namespace
}  // namespace vigilon::test
