// The access keys of menu titles, which the main window gives precedence
// over its controls' keys.
#include <gtest/gtest.h>

#include "Commands.h"
#include "MenuResources.h"

namespace vigilon::app {
namespace {

TEST(MenuAccessKey, IsTheLetterAfterASingleAmpersandInLowerCase) {
    EXPECT_EQ(AccessKey("&Tools"), 't');
    EXPECT_EQ(AccessKey("S&top Ping"), 't');
    EXPECT_EQ(AccessKey("Fish && &Chips"), 'c');
    EXPECT_EQ(AccessKey("Fish && Chips"), 0);
    EXPECT_EQ(AccessKey("Open"), 0);
    EXPECT_EQ(AccessKey("Trailing&"), 0);
}

TEST(MenuAccessKey, FindsTheMainMenusPopupsByTheirTitlesKeyInEitherCase) {
    const MenuResource& main = *FindMenuResource(kMainMenuId);
    EXPECT_EQ(PopupWithAccessKey(main, 'F'), 0);
    EXPECT_EQ(PopupWithAccessKey(main, 'o'), 1);
    EXPECT_EQ(PopupWithAccessKey(main, 'T'), 2);
    EXPECT_EQ(PopupWithAccessKey(main, 'h'), 3);
    EXPECT_EQ(PopupWithAccessKey(main, 'p'), -1) << "an item's key is no title's";
    EXPECT_EQ(PopupWithAccessKey(main, 0), -1);
}

// An entry without a command would do nothing when chosen.
TEST(MenuEntries, EachRunsACommandAndOnlyEmailAndLogShowACheckMark) {
    for (int menuId : {kMainMenuId, kTrayMenuId}) {
        for (const MenuItem& popup : FindMenuResource(menuId)->popups) {
            for (const MenuItem& item : popup.children) {
                if (item.IsSeparator()) continue;
                ASSERT_NE(FindCommand(item.id), nullptr) << item.text;
                EXPECT_FALSE(item.text.empty()) << item.id;
                EXPECT_EQ(item.checkItem, item.id == ID_OPTIONS_EMAIL || item.id == ID_OPTIONS_LOG)
                    << item.text;
            }
        }
    }
}

}  // namespace
}  // namespace vigilon::app
