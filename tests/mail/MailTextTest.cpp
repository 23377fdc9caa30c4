#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "AlertText.h"
#include "CNotifyMail.h"
#include "HeloName.h"
#include "LocalTime.h"
#include "MailText.h"
#include "ScopedTimeZone.h"

namespace vigilon {
namespace {

using test::ScopedTimeZone;

std::string Prepared(const std::string& body) {
    CNotifyMail mail;
    mail.body = body;
    mail.PrepareBody();
    return mail.body;
}

TEST(MailBody, DoublesLoneDotLines) {
    EXPECT_EQ(Prepared(".\r\nA\r\n.\r\n.\r\nB"), "..\r\nA\r\n..\r\n..\r\nB");
}

TEST(MailBody, DoublesLeadingDotOfEveryLine) {
    EXPECT_EQ(Prepared(".hidden\r\nx.y\r\n..two"), "..hidden\r\nx.y\r\n...two");
}

TEST(MailBody, TurnsBareLineEndsIntoCrLf) {
    EXPECT_EQ(Prepared("a\nb\rc\r\nd\r\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    // A dot after a bare LF starts a line once the LF is mended.
    EXPECT_EQ(Prepared("x\n.\ny"), "x\r\n..\r\ny");
}

TEST(MailDate, UsesFourDigitYearAndNumericOffset) {
    const std::time_t when = 1'000'000'000;  // 2001-09-09 01:46:40 UTC, a Sunday
    {
        ScopedTimeZone zone("UTC0");
        EXPECT_EQ(FormatMailDate(when), "Sun, 09 Sep 2001 01:46:40 +0000");
    }
    {
        ScopedTimeZone zone("IST-5:30");
        EXPECT_EQ(FormatMailDate(when), "Sun, 09 Sep 2001 07:16:40 +0530");
    }
    {
        ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
        // Wine's C runtime keeps no summer time for a TZ variable (Windows'
        // own applies the US rules); the offset must then follow the clock.
        const std::time_t july = 994'000'000;  // 2001-07-01
        if (LocalTime local; ToLocalTime(july, local) && local.fields.tm_isdst == 0) {
            EXPECT_EQ(FormatMailDate(when), "Sat, 08 Sep 2001 20:46:40 -0500");
            GTEST_SKIP() << "this C runtime applies no summer time to TZ";
        }
        EXPECT_EQ(FormatMailDate(when), "Sat, 08 Sep 2001 21:46:40 -0400");
    }
}

TEST(AlertText, BodyShowsLocalClockAndBothStatusWords) {
    ScopedTimeZone zone("IST-5:30");
    EXPECT_EQ(AlertBody(1'000'000'000, "host.example", "OFFLINE", "ONLINE"),
              "Time: 07:16:40 -- host.example : OFFLINE\nControl Address: ONLINE");
    EXPECT_EQ(AlertSubject("host.example", "ONLINE"), "host.example - ONLINE");
}

int FailingReader(char*, std::size_t) { return -1; }
int EmptyReader(char* name, std::size_t) {
    name[0] = '\0';
    return 0;
}
int NamedReader(char* name, std::size_t length) {
    std::snprintf(name, length, "watcher");
    return 0;
}

TEST(HeloName, FallsBackToLocalhostWhenNameIsMissing) {
    EXPECT_EQ(HeloName(&FailingReader), "localhost");
    EXPECT_EQ(HeloName(&EmptyReader), "localhost");
    EXPECT_EQ(HeloName(&NamedReader), "watcher");
}

}  // namespace
}  // namespace vigilon
