// Wrapping a message box's text, measured as a fixed-width font would.
#include <gtest/gtest.h>

#include "TextWrap.h"

namespace vigilon::app {
namespace {

// Each character (not byte) one unit wide.
int Characters(std::string_view line) {
    int count = 0;
    for (char byte : line)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    return count;
}

std::string Wrap(std::string_view text, int width) { return WrapText(text, width, Characters); }

TEST(TextWrap, BreaksAtSpacesAndKeepsTheTextsOwnLineBreaks) {
    EXPECT_EQ(Wrap("Unable to open log file.", 40), "Unable to open log file.");
    EXPECT_EQ(Wrap("Unable to open log file.", 12), "Unable to\nopen log\nfile.");
    EXPECT_EQ(Wrap("Logging is not enabled.\n\nEnable Logging Now?.", 12),
              "Logging is\nnot enabled.\n\nEnable\nLogging\nNow?.");
}

TEST(TextWrap, BreaksInsideAWordWithoutSpacesNeverSplittingACharacter) {
    const std::string host = std::string(25, 'a') + ".example.org";  // 37 characters
    EXPECT_EQ(Wrap("Host " + host + " is down", 10),
              "Host\naaaaaaaaaa\naaaaaaaaaa\naaaaa.exam\nple.org is\ndown");
    EXPECT_EQ(Wrap("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 3), "\xc3\xa9\xc3\xa9\xc3\xa9\n\xc3\xa9");
    EXPECT_EQ(Wrap("abc", 0), "a\nb\nc") << "at least one character a line";
}

}  // namespace
}  // namespace vigilon::app
