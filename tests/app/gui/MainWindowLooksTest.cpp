// How the main window looks on a real display: labels inside their group
// boxes, clear of the border; a fixed size.
#include <gmock/gmock.h>

#include <wx/statbox.h>

#include "FixedSizeCheck.h"
#include "LabelPlacement.h"
#include "MainWindowFixture.h"

namespace vigilon::test {
namespace {

using MainWindowLooks = MainWindowTest;

wxPanel& Panel(wxWindow& window) {
    for (wxWindow* child : window.GetChildren())
        if (auto* panel = dynamic_cast<wxPanel*>(child)) return *panel;
    throw std::runtime_error("no panel");
}

wxWindow* LabelTitled(wxWindow& panel, const wxString& text) {
    for (wxWindow* child : panel.GetChildren())
        if (auto* label = dynamic_cast<wxStaticText*>(child);
            label != nullptr && label->GetLabelText() == text)
            return label;
    return nullptr;
}

TEST_F(MainWindowLooks, LabelsSitInsideTheirGroupBoxesClearOfTheBorder) {
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    WaitUntilActive();
    PumpFor(300ms);  // drawn
    wxPanel& panel = Panel(Window());
    const int margin = panel.ConvertDialogToPixels(wxSize(4, 0)).x;
    EXPECT_THAT(MisplacedLabels(panel, margin), ::testing::IsEmpty());

    // On screen: nothing of the first labels' text between the group's
    // left border and the margin.
    wxStaticBox* statistics = nullptr;
    for (wxWindow* child : panel.GetChildren())
        if (auto* box = dynamic_cast<wxStaticBox*>(child);
            box != nullptr && box->GetLabel().StartsWith("Status"))
            statistics = box;
    ASSERT_NE(statistics, nullptr);
    const int borderX = statistics->GetScreenRect().x;
    for (const char* text : {"Ping Number:", "# Emails:"}) {
        wxWindow* label = LabelTitled(panel, text);
        ASSERT_NE(label, nullptr) << text;
        const wxRect at = label->GetScreenRect();
        EXPECT_EQ(CountDarkPixels(borderX + 3, at.y, margin - 3, at.height), 0)
            << text << " touches the border";
        EXPECT_GT(CountDarkPixels(at.x, at.y, at.width, at.height), 0) << text << " is drawn";
    }
}

TEST_F(MainWindowLooks, IsFixedSizeWithoutMaximising) {
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    ExpectFixedSize(Window());
}

}  // namespace
}  // namespace vigilon::test
