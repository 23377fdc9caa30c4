// The tray icon in a real XEmbed tray (trayer), clicked through the X server.
#include <gtest/gtest.h>
#include <algorithm>

#include <wx/settings.h>
#include <wx/taskbar.h>

#include <optional>
#include <string>
#include <vector>

#include "CTrayIcon.h"
#include "CommandIds.h"
#include "GuiSession.h"
#include "TrayDock.h"
#include "WxTaskBarTray.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kCallback = 1034;
constexpr unsigned kTrayId = 144;

// The main window's part: callbacks go to the tray icon, commands are kept.
class Owner : public app::TrayOwner {
public:
    long OnTrayCallback(unsigned message, unsigned long wParam, long lParam) override {
        mouseMessages.push_back(static_cast<unsigned>(lParam & 0xFFFF));
        return message == kCallback ? icon.OnTrayNotification(wParam, lParam) : 0;
    }
    void OnTrayCommand(int commandId) override { commands.push_back(commandId); }
    void BringToForeground() override { ++foregrounds; }

    app::WxTaskBarTray tray;
    app::CTrayIcon icon{tray};
    std::vector<unsigned> mouseMessages;
    std::vector<int> commands;
    int foregrounds = 0;
};

// The colour at the centre of the icon, as 0xRRGGBB on the 24-bit screen.
// The mean colour of the lamp's lens (a small square just below the centre,
// clear of the highlight), packed as 0xRRGGBB, so that the drawing's details
// do not decide the test.
unsigned long CentreColour(::Display* x, const ScreenRect& icon) {
    const int side = std::max(2, icon.width / 5);
    XImage* image = XGetImage(x, DefaultRootWindow(x), icon.x + icon.width / 2 - side / 2,
                              icon.y + icon.height / 2, side, side, AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    unsigned long red = 0, green = 0, blue = 0;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            red += (pixel >> 16) & 0xFF;
            green += (pixel >> 8) & 0xFF;
            blue += pixel & 0xFF;
        }
    XDestroyImage(image);
    const unsigned long count = static_cast<unsigned long>(side) * side;
    return (red / count) << 16 | (green / count) << 8 | blue / count;
}

int Red(unsigned long colour) { return static_cast<int>((colour >> 16) & 0xFF); }
int Green(unsigned long colour) { return static_cast<int>((colour >> 8) & 0xFF); }

class TrayIconInTray : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(x, nullptr);
        ASSERT_TRUE(wxTaskBarIcon::IsAvailable()) << "trayer owns the tray selection";
        ASSERT_TRUE(owner.tray.HasNotificationArea());
        ASSERT_TRUE(owner.icon.Create(&owner, kCallback, "Vigilon - Idle", 142, kTrayId));
        // Docked, then settled at the size the tray gives it.
        ASSERT_TRUE(PumpUntil([&] { return DockedTrayIcon().has_value(); }, 10s))
            << "the icon never docked";
        PumpFor(300ms);
        docked = DockedTrayIcon();
        ASSERT_TRUE(docked.has_value());
    }

    // Right-clicks the icon, then answers the menu with the given keys.
    void RightClickThenKeys(std::vector<std::string> keys) {
        std::vector<std::string> commands = ClickAt(*docked, "3");
        commands.insert(commands.end(), {"sleep", "1", "key", "--delay", "100"});
        commands.insert(commands.end(), keys.begin(), keys.end());
        ASSERT_TRUE(RunXdotool(commands));
    }

    void TearDown() override {
        if (x != nullptr) XCloseDisplay(x);
    }

    ::Display* x = XOpenDisplay(nullptr);
    Owner owner;
    std::optional<ScreenRect> docked;
};

TEST_F(TrayIconInTray, DocksWithThePictureOfEachStateAndTakesTooltips) {
    EXPECT_TRUE(owner.tray.TrayShown());
    EXPECT_GE(docked->width, docked->height) << "the picture fills the tray's height";
    const unsigned long idle = CentreColour(x, *docked);
    EXPECT_GT(Green(idle), Red(idle)) << std::hex << idle;

    EXPECT_TRUE(owner.icon.SetIcon(143));
    EXPECT_TRUE(owner.icon.SetTooltipText("Vigilon - Target Offline"));
    EXPECT_TRUE(PumpUntil([&] {
        const unsigned long down = CentreColour(x, *docked);
        return Red(down) > Green(down) + 64;  // clearly red
    })) << std::hex
        << CentreColour(x, *docked);

    EXPECT_TRUE(owner.icon.SetIcon(141));
    EXPECT_TRUE(owner.icon.SetTooltipText(std::string(80, 'x')));
    EXPECT_TRUE(PumpUntil([&] { return Green(CentreColour(x, *docked)) > Green(idle) + 40; }))
        << "online is the brighter green: " << std::hex << CentreColour(x, *docked) << " " << idle;

    EXPECT_TRUE(owner.icon.RemoveIcon());
    EXPECT_FALSE(owner.tray.TrayShown());
    EXPECT_TRUE(PumpUntil([&] { return !DockedTrayIcon().has_value(); }))
        << "the icon leaves the tray";
    EXPECT_TRUE(owner.mouseMessages.empty());
}

TEST_F(TrayIconInTray, RightClickOpensTheMenuWhoseChoiceReachesTheOwner) {
    RightClickThenKeys({"Escape"});
    PumpFor(300ms);
    EXPECT_TRUE(owner.commands.empty()) << "a dismissed menu sends nothing";
    // GTK opens context menus on the press and reports no release.
    EXPECT_EQ(owner.mouseMessages,
              (std::vector<unsigned>{app::TRAY_RBUTTONDOWN, app::TRAY_RBUTTONUP}));
    EXPECT_EQ(owner.foregrounds, 1);

    RightClickThenKeys({"Down", "Return"});
    EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));
    EXPECT_EQ(owner.commands, std::vector<int>{app::ID_TRAY_OPEN}) << "the first item";

    owner.commands.clear();
    RightClickThenKeys({"Up", "Return"});
    EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));
    EXPECT_EQ(owner.commands, std::vector<int>{app::ID_TRAY_EXIT})
        << "the last item, past the separators";
}

TEST_F(TrayIconInTray, DoubleClickRunsOpenAndASingleClickNothing) {
    ASSERT_TRUE(RunXdotool(ClickAt(*docked, "1")));
    ASSERT_TRUE(PumpUntil([&] { return owner.mouseMessages.size() == 1; }));
    // Past the double-click time, the next press starts afresh.
    PumpFor(std::chrono::milliseconds(wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC)) + 300ms);
    EXPECT_TRUE(owner.commands.empty());

    ASSERT_TRUE(RunXdotool(ClickAt(*docked, "1", 2)));
    EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));
    EXPECT_EQ(owner.commands, std::vector<int>{app::ID_TRAY_OPEN});
    EXPECT_EQ(owner.mouseMessages,
              (std::vector<unsigned>{app::TRAY_LBUTTONDOWN, app::TRAY_LBUTTONDOWN,
                                     app::TRAY_LBUTTONDBLCLK}));
    EXPECT_EQ(owner.foregrounds, 1);
}

}  // namespace
}  // namespace vigilon::test
