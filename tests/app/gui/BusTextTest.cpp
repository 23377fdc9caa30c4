// Texts handed to D-Bus are valid UTF-8, read as the window reads them.
#include <gtest/gtest.h>

#include <string>

#include "BusText.h"
#include "WxText.h"

namespace vigilon::test {
namespace {

using app::Utf8ForBus;

TEST(BusText, ReadsTextAsTheWindowDoesWhereTheBusTakesIt) {
    const std::string ascii = "target.example - OFFLINE", utf8 = "caf\xC3\xA9 \xE2\x9C\x93",
                      latin1 = "caf\xE9.example", mixed = "\xC3\xA9 then \xFF";
    EXPECT_EQ(Utf8ForBus(ascii), ascii);
    EXPECT_EQ(Utf8ForBus(utf8), utf8);
    EXPECT_EQ(Utf8ForBus(latin1), "caf\xC3\xA9.example");
    EXPECT_EQ(Utf8ForBus(mixed), "\xC3\x83\xC2\xA9 then \xC3\xBF")
        << "one bad byte: the whole text is Latin-1";
    for (const std::string& text : {ascii, utf8, latin1, mixed})
        EXPECT_EQ(Utf8ForBus(text), app::FromWx(app::ToWx(text))) << "as the window shows " << text;

    // An encoded surrogate passes the toolkit's check but not the bus's.
    const std::string surrogate = "\xED\xA0\x80";
    EXPECT_EQ(Utf8ForBus(surrogate), "\xC3\xAD\xC2\xA0\xC2\x80");
}

}  // namespace
}  // namespace vigilon::test
