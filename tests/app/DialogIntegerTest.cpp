// Reading an integer box the way the settings dialog does.
#include <gtest/gtest.h>

#include "DialogInteger.h"

namespace vigilon::test {
namespace {

using app::ParseDialogInteger;

std::int32_t Parsed(const std::string& text) {
    std::int32_t value = -7;
    EXPECT_TRUE(ParseDialogInteger(text, value)) << '"' << text << '"';
    return value;
}

bool Refused(const std::string& text) {
    std::int32_t value = -7;
    const bool refused = !ParseDialogInteger(text, value);
    EXPECT_EQ(value, -7) << "a refused text leaves the value alone";
    return refused;
}

TEST(DialogInteger, ReadsSignedDecimalsBetweenBlanks) {
    EXPECT_EQ(Parsed("30"), 30);
    EXPECT_EQ(Parsed("0"), 0);
    EXPECT_EQ(Parsed("000"), 0);
    EXPECT_EQ(Parsed(" \t 0042 \t"), 42);
    EXPECT_EQ(Parsed("+17"), 17);
    EXPECT_EQ(Parsed("-5"), -5);
}

TEST(DialogInteger, ClampsToThe32BitRange) {
    EXPECT_EQ(Parsed("2147483647"), 2147483647);
    EXPECT_EQ(Parsed("2147483648"), 2147483647);
    EXPECT_EQ(Parsed("99999999999999999999999"), 2147483647);
    EXPECT_EQ(Parsed("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(Parsed("-99999999999999999999"), -2147483647 - 1);
}

TEST(DialogInteger, RefusesWhatIsNoNumber) {
    for (const char* text :
         {"", "   ", "-", "+", "-0", "+0", "abc", "5a", "5 5", "0x10", "1.5", "- 5", "5\n", "\n5"})
        EXPECT_TRUE(Refused(text)) << '"' << text << '"';
}

TEST(DialogInteger, ReadsOnlyTheFirst31Characters) {
    // Whatever follows the 31st character is never looked at.
    EXPECT_EQ(Parsed("12" + std::string(29, ' ') + "junk"), 12);
    EXPECT_TRUE(Refused(std::string(30, ' ') + " 7"));
    EXPECT_EQ(Parsed(std::string(30, '0') + "1" + "9"), 1);
}

}  // namespace
}  // namespace vigilon::test
