// The program's message box on a real screen: a long host name wraps so
// that the box fits the display, the buttons keep their usual width at the
// right, and each kind shows its icon.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/statbmp.h>

#include "DialogTesting.h"
#include "MessageBox.h"
#include "WxModelessBoxes.h"
#include "WxUserPrompt.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

const std::string kLongHost = std::string(287, 'h') + ".example.org";  // 300 characters

// Where the box and its buttons ended up, once the window manager placed it.
void ExpectFitsTheScreen(app::MessageBox& box) {
    ASSERT_TRUE(PumpUntil([&] { return box.IsShownOnScreen(); }));
    PumpFor(200ms);
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const wxRect placed = box.GetScreenRect();
    EXPECT_LE(placed.width, screen.width * 2 / 3) << "two thirds of the display's width";
    EXPECT_TRUE(screen.Contains(placed))
        << placed.x << "," << placed.y << " " << placed.width << "x" << placed.height;
    for (wxWindow* child : box.GetChildren()) {
        auto* button = dynamic_cast<wxButton*>(child);
        if (button == nullptr) continue;
        EXPECT_TRUE(screen.Contains(button->GetScreenRect())) << button->GetLabel();
        EXPECT_LE(button->GetSize().x, 2 * button->GetBestSize().x)
            << "its usual width, not the box's";
        EXPECT_GT(button->GetScreenRect().GetLeft(), placed.x + placed.width / 2) << "at the right";
    }
}

const wxStaticBitmap* IconOf(const app::MessageBox& box) {
    for (const wxWindow* child : box.GetChildren())
        if (auto* picture = dynamic_cast<const wxStaticBitmap*>(child)) return picture;
    return nullptr;
}

TEST(MessageBox, AModalBoxWithALongHostNameFitsTheScreenWithItsButtonsOnIt) {
    OnDialogOpen<app::MessageBox> check([](app::MessageBox& box) {
        box.CallAfter([&box] {
            ExpectFitsTheScreen(box);
            EXPECT_EQ(box.Message(), "Unable to resolve " + kLongHost)
                << "the text itself is not changed";
            EXPECT_EQ(box.GetDefaultItem(), box.FindWindow(wxID_YES));
            box.EndModal(wxID_NO);
        });
    });
    app::WxUserPrompt prompt;
    EXPECT_FALSE(
        prompt.AskYesNo("Unable to resolve " + kLongHost, MessageIcon::Question, "Vigilon"));
}

TEST(MessageBox, ABoxBesideTheWindowFitsTooAndGoesWithOk) {
    app::WxModelessBoxes boxes;
    bool closed = false;
    boxes.Open("Sending to " + kLongHost + " failed.", MessageIcon::Stop, [&] { closed = true; });
    app::MessageBox* box = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* found = dynamic_cast<app::MessageBox*>(window)) box = found;
    ASSERT_NE(box, nullptr);
    ExpectFitsTheScreen(*box);
    ASSERT_TRUE(WaitUntilActive(*box));
    UserInput().Click(box->FindWindow(wxID_OK));
    EXPECT_TRUE(PumpUntil([&] { return closed; }));
}

TEST(MessageBox, EachKindShowsItsIconAndNoneShowsNone) {
    for (MessageIcon kind : {MessageIcon::Information, MessageIcon::Exclamation,
                             MessageIcon::Question, MessageIcon::Stop, MessageIcon::None}) {
        app::MessageBox box(nullptr, "Unable to open log file.", "Vigilon", kind,
                            app::MessageBox::Buttons::Ok);
        const wxStaticBitmap* icon = IconOf(box);
        if (kind == MessageIcon::None) {
            EXPECT_EQ(icon, nullptr);
            continue;
        }
        ASSERT_NE(icon, nullptr) << static_cast<int>(kind);
        EXPECT_TRUE(icon->GetBitmap().IsOk()) << static_cast<int>(kind);
        EXPECT_GE(icon->GetBitmap().GetWidth(), 24) << "a message box's icon, not a menu's";
    }
}

}  // namespace
}  // namespace vigilon::test
