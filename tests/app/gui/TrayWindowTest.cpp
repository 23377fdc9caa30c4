// Withdrawing into a shown tray, and "Open" bringing the window back.
#include <wx/taskbar.h>

#include "CommandIds.h"
#include "MainWindowFixture.h"

namespace vigilon::test {
namespace {

using TrayWindow = MainWindowTest;

TEST_F(TrayWindow, MinimisingAndAutoMinimiseHideIntoTheTrayAndOpenBringsTheWindowBack) {
    ASSERT_TRUE(wxTaskBarIcon::IsAvailable()) << "the tray host is not running";
    settings.autoMinimize = 1;
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    ASSERT_TRUE(program->Shell().TrayIconShown());

    // Auto-minimise, 1.5 s after monitoring started.
    ASSERT_TRUE(Becomes(XWindowState::Normal));
    EXPECT_TRUE(PumpUntil([&] { return StateOfWindowTitled(Caption()) == XWindowState::NotManaged; }, 4s))
        << "auto-minimise did not hide";
    Choose(app::ID_TRAY_OPEN);
    EXPECT_TRUE(Becomes(XWindowState::Normal));

    WaitUntilActive();
    Window().Iconize(true);
    EXPECT_TRUE(Becomes(XWindowState::NotManaged)) << "minimising did not hide";
    EXPECT_FALSE(Window().IsShown());
    Choose(app::ID_TRAY_OPEN);
    EXPECT_TRUE(Becomes(XWindowState::Normal)) << "Open did not bring the window back";
    PumpFor(300ms);
    EXPECT_EQ(StateOfWindowTitled(Caption()), XWindowState::Normal) << "the window went again";
}

}  // namespace
}  // namespace vigilon::test
