// A notice's body for a service that reads markup.
#include <gtest/gtest.h>

#include "NoticeMarkup.h"

namespace vigilon::test {
namespace {

using app::EscapeNoticeMarkup;

TEST(NoticeMarkup, WritesMarkupCharactersAsEntitiesAndKeepsTheRest) {
    EXPECT_EQ(EscapeNoticeMarkup("a<b>&c"), "a&lt;b&gt;&amp;c");
    EXPECT_EQ(EscapeNoticeMarkup("it's \"down\""), "it&#39;s &quot;down&quot;");
    EXPECT_EQ(EscapeNoticeMarkup("&amp;"), "&amp;amp;") << "an entity typed is text too";
    EXPECT_EQ(EscapeNoticeMarkup("target.example - OFFLINE\nOutage: 00:00:25"),
              "target.example - OFFLINE\nOutage: 00:00:25");
    EXPECT_EQ(EscapeNoticeMarkup("caf\xC3\xA9 <\xE2\x9C\x93>"), "caf\xC3\xA9 &lt;\xE2\x9C\x93&gt;")
        << "UTF-8 sequences pass untouched";
    EXPECT_EQ(EscapeNoticeMarkup(""), "");
}

}  // namespace
}  // namespace vigilon::test
