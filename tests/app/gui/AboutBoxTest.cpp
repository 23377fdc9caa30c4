// The About box on a real display: its texts, the web-site button launching
// the browser while the box stays open, and the three ways of closing it.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include <gtk/gtk.h>

#include <functional>
#include <utility>

#include "CAboutBox.h"
#include "DialogTesting.h"
#include "FakeLauncher.h"
#include "FixedSizeCheck.h"
#include "GuiSession.h"

namespace vigilon::test {
namespace {

app::CAboutBox* FindAboutBox() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* box = dynamic_cast<app::CAboutBox*>(window)) return box;
    return nullptr;
}

app::CAboutBox* OpenAboutBox() {
    app::CAboutBox* box = FindAboutBox();
    return box != nullptr && box->IsShownOnScreen() ? box : nullptr;
}

std::vector<wxString> StaticTexts(wxWindow* box) {
    std::vector<wxString> texts;
    for (wxWindow* child : box->GetChildren())
        if (auto* text = dynamic_cast<wxStaticText*>(child)) texts.push_back(text->GetLabelText());
    return texts;
}

// A real click, once the window manager has placed the box and the pointer
// is over the control, so that the toolkit sees the button pressed.
void ClickOn(wxWindow* control) {
    wxRect placed = control->GetScreenRect();
    PumpUntil([&] {
        PumpFor(std::chrono::milliseconds(100));
        const wxRect now = control->GetScreenRect();
        return std::exchange(placed, now) == now;
    });
    wxUIActionSimulator mouse;
    mouse.MouseMove(placed.GetPosition() + placed.GetSize() / 2);
    PumpUntil([&] { return wxFindWindowAtPoint(wxGetMousePosition()) == control; });
    PumpFor(std::chrono::milliseconds(100));
    mouse.MouseDown();
    PumpFor(std::chrono::milliseconds(50));
    mouse.MouseUp();
}

// Shows the box over a hidden owner (the main window hidden in the tray)
// and runs steps inside its modal run; returns once the box has ended.
void WithAboutBox(FakeLauncher& launcher, const std::function<void(app::CAboutBox&)>& steps) {
    wxFrame owner(nullptr, wxID_ANY, "owner");
    bool ran = false;
    wxTheApp->CallAfter([&] {
        app::CAboutBox* box = FindAboutBox();
        if (box == nullptr || !PumpUntil([&] { return OpenAboutBox() != nullptr; })) {
            ADD_FAILURE() << "the About box did not come up";
            if (box != nullptr) box->EndModal(wxID_CANCEL);
            return;
        }
        // Keys go to the box once the window manager has given it the focus.
        PumpUntil([&] {
            wxWindow* focus = wxWindow::FindFocus();
            return focus != nullptr && wxGetTopLevelParent(focus) == box;
        });
        steps(*box);
        ran = true;
        // A box the steps failed to close must not block the other tests.
        if (!PumpUntil([] { return OpenAboutBox() == nullptr; })) {
            ADD_FAILURE() << "the About box is still open";
            box->EndModal(wxID_CANCEL);
        }
    });
    app::ShowAboutBox(&owner, launcher);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(owner.IsShown()) << "the hidden main window stays hidden";
}

TEST(AboutBox, ShowsItsTextsAndOpensTheWebSiteWhileStayingOpen) {
    FakeLauncher launcher;
    WithAboutBox(launcher, [&](app::CAboutBox& box) {
        EXPECT_EQ(box.GetTitle(), "About Vigilon");
        ExpectFixedSize(box);
        EXPECT_EQ(box.GetClientSize(), box.ConvertDialogToPixels(wxSize(235, 66)));
        const std::vector<wxString> texts = StaticTexts(&box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Vigilon   Version 1.0"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), app::kNoticeLine), texts.end());

        auto* ok = dynamic_cast<wxButton*>(box.FindWindow(wxID_OK));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->GetLabel(), "OK");
        EXPECT_EQ(box.GetDefaultItem(), ok);
        wxWindow* webSite = box.FindWindow(app::kWebSiteButtonId);
        ASSERT_NE(webSite, nullptr);
        EXPECT_EQ(webSite->GetLabel(), app::kWebSiteAddress);

        ClickOn(webSite);
        ASSERT_TRUE(PumpUntil([&] { return !launcher.opened.empty(); }))
            << "the click opened nothing";
        EXPECT_EQ(launcher.opened[0], app::kWebSiteAddress);
        PumpFor(std::chrono::milliseconds(200));
        EXPECT_EQ(OpenAboutBox(), &box) << "the box stays open after the web-site button";

        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    EXPECT_EQ(launcher.opened.size(), 1u) << "closing opened something";
    EXPECT_TRUE(launcher.launched.empty());
}

// The address to copy, with what to install for the desktop's own browser.
class ExpectAddressBox : public wxExpectModalBase<app::MessageBox, ExpectAddressBox> {
protected:
    int OnInvoked(app::MessageBox* box) const override {
        EXPECT_NE(box->Message().find(app::kWebSiteAddress), std::string::npos) << box->Message();
        EXPECT_NE(box->Message().find("install xdg-utils and a web browser"), std::string::npos)
            << box->Message();
        EXPECT_EQ(box->Icon(), MessageIcon::Information);
        for (wxWindow* child : box->GetChildren()) {
            if (auto* text = dynamic_cast<wxStaticText*>(child)) {
                EXPECT_TRUE(gtk_label_get_selectable(GTK_LABEL(text->GetHandle())))
                    << "the address can be copied";
            }
        }
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override { return "the web site's address box"; }
};

TEST(AboutBox, WithoutABrowserTheWebSiteButtonGivesTheAddressToCopy) {
    FakeLauncher launcher;
    WithAboutBox(launcher, [&](app::CAboutBox& box) {
        ClickOn(box.FindWindow(app::kWebSiteButtonId));
        ASSERT_TRUE(PumpUntil([&] { return !launcher.failureReports.empty(); }));
        wxTEST_DIALOG(launcher.FailWatched(), ExpectAddressBox());
        EXPECT_EQ(OpenAboutBox(), &box) << "the About box stays open";
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
}

TEST(AboutBox, OkAndTheCloseBoxEndItWithNoOtherEffect) {
    FakeLauncher launcher;
    WithAboutBox(launcher, [](app::CAboutBox& box) { ClickOn(box.FindWindow(wxID_OK)); });
    // The close box: the window manager asks the window to close.
    WithAboutBox(launcher, [](app::CAboutBox& box) { box.Close(); });
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_TRUE(launcher.opened.empty());
}

}  // namespace
}  // namespace vigilon::test
