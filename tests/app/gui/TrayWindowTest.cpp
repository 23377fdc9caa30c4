// Withdrawing into a shown tray, and "Open" bringing the window back.
#include <wx/settings.h>
#include <wx/taskbar.h>

#include "CommandIds.h"
#include "MainWindowFixture.h"
#include "TrayDock.h"

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
    EXPECT_TRUE(
        PumpUntil([&] { return StateOfWindowTitled(Caption()) == XWindowState::NotManaged; }, 4s))
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

// Real double-clicks on the docked icon, each one on a withdrawn window.
TEST_F(TrayWindow, EveryDoubleClickOnTheIconBringsTheWithdrawnWindowBack) {
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    ASSERT_TRUE(program->Shell().TrayIconShown());
    ASSERT_TRUE(PumpUntil([] { return DockedTrayIcon().has_value(); }, 10s))
        << "the icon never docked";
    PumpFor(300ms);  // settled at the tray's size
    const ScreenRect icon = *DockedTrayIcon();
    WaitUntilActive();

    constexpr int kRounds = 20;
    int restored = 0;
    for (int round = 0; round < kRounds; ++round) {
        Window().Iconize(true);
        ASSERT_TRUE(Becomes(XWindowState::NotManaged))
            << "round " << round << ": minimising did not hide";
        ASSERT_TRUE(RunXdotool(ClickAt(icon, "1", 2)));
        if (Becomes(XWindowState::Normal)) ++restored;
        // Past the double-click time, so that rounds do not pair up.
        PumpFor(std::chrono::milliseconds(wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC)) + 100ms);
    }
    EXPECT_EQ(restored, kRounds);
}

}  // namespace
}  // namespace vigilon::test
