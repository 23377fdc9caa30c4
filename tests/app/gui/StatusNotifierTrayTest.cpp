// The tray as a StatusNotifierItem, as a desktop's tray sees it: a
// StatusNotifierWatcher and host (peers/status_notifier_host.py) on the
// test's private session bus reads the item's properties and menu and
// clicks. And the choice between it and the XEmbed icon.
#include <gtest/gtest.h>
#include <algorithm>

#include <wx/image.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppIndicatorTray.h"
#include "CTrayIcon.h"
#include "ChooseTrayBackend.h"
#include "CommandIds.h"
#include "GuiSession.h"
#include "PeerProcess.h"
#include "WxTaskBarTray.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kCallback = 1034;
constexpr unsigned kTrayId = 144;

class Owner : public app::TrayOwner {
public:
    long OnTrayCallback(unsigned, unsigned long, long) override {
        ++callbacks;
        return 0;
    }
    void OnTrayCommand(int commandId) override { commands.push_back(commandId); }
    void BringToForeground() override {}

    std::vector<int> commands;
    int callbacks = 0;
};

bool IsXEmbed(const std::unique_ptr<app::TrayBackend>& backend) {
    return dynamic_cast<app::WxTaskBarTray*>(backend.get()) != nullptr;
}

// Whether this process has a library whose file name contains name mapped.
bool LibraryMapped(const std::string& name) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(name) != std::string::npos) return true;
    return false;
}

// The StatusNotifierItem library is loaded only once its tray is chosen.
TEST(TrayChoice, TheXEmbedIconUnlessAWatcherWithAHostIsOnTheBus) {
    EXPECT_TRUE(IsXEmbed(app::ChooseTrayBackend())) << "an empty bus";
    {
        PeerProcess watcherAlone("status_notifier_host.py", {"--no-host"});
        ASSERT_TRUE(watcherAlone.Ready());
        EXPECT_TRUE(IsXEmbed(app::ChooseTrayBackend())) << "a watcher whose items no host shows";
    }
    EXPECT_FALSE(LibraryMapped("libayatana-appindicator3")) << "loaded before its tray was chosen";
    PeerProcess watcher("status_notifier_host.py");
    ASSERT_TRUE(watcher.Ready());
    std::unique_ptr<app::TrayBackend> chosen = app::ChooseTrayBackend();
    EXPECT_NE(dynamic_cast<app::AppIndicatorTray*>(chosen.get()), nullptr);
    EXPECT_TRUE(chosen->HasNotificationArea());
    EXPECT_TRUE(LibraryMapped("libayatana-appindicator3"));
}

// The mean colour of the lamp's lens in a picture file (a small square just
// below the centre, clear of the highlight), as 0xRRGGBB.
unsigned long CentreColour(const std::string& file) {
    const wxImage image(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG);
    if (!image.IsOk()) return 0;
    const int side = std::max(2, image.GetWidth() / 5);
    const int left = image.GetWidth() / 2 - side / 2, top = image.GetHeight() / 2;
    unsigned long red = 0, green = 0, blue = 0;
    for (int y = top; y < top + side; ++y)
        for (int x = left; x < left + side; ++x) {
            red += image.GetRed(x, y);
            green += image.GetGreen(x, y);
            blue += image.GetBlue(x, y);
        }
    const unsigned long count = static_cast<unsigned long>(side) * side;
    return (red / count) << 16 | (green / count) << 8 | blue / count;
}
int Red(unsigned long colour) { return static_cast<int>((colour >> 16) & 0xFF); }
int Green(unsigned long colour) { return static_cast<int>((colour >> 8) & 0xFF); }

class StatusNotifierTray : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Ready());
        backend = app::ChooseTrayBackend();
        tray = dynamic_cast<app::AppIndicatorTray*>(backend.get());
        ASSERT_NE(tray, nullptr) << "a watcher with a host is on the bus";
        icon = std::make_unique<app::CTrayIcon>(*backend);
        EXPECT_FALSE(tray->TrayShown());
        ASSERT_TRUE(icon->Create(&owner, kCallback, "Vigilon - Idle", 142, kTrayId));
        ASSERT_TRUE(host.Take("registered")) << host.LastError();
        EXPECT_TRUE(PumpUntil([&] { return tray->TrayShown(); })) << "registered with the watcher";
    }

    // The item's properties as the host reads them.
    std::map<std::string, std::string> Properties() {
        std::map<std::string, std::string> properties;
        const std::optional<PeerProcess::Line> line = host.Ask("props");
        EXPECT_TRUE(line.has_value()) << host.LastError();
        if (!line) return properties;
        for (std::size_t i = 1; i < line->size(); ++i) {
            const std::string& field = (*line)[i];
            properties[field.substr(0, field.find('='))] = field.substr(field.find('=') + 1);
        }
        return properties;
    }
    // Reads until the host sees the title, then returns what it sees.
    std::map<std::string, std::string> PropertiesOnceTitled(const std::string& title) {
        std::map<std::string, std::string> properties;
        PumpUntil([&] {
            properties = Properties();
            return properties["Title"] == title;
        });
        return properties;
    }
    unsigned long ShownColour(std::map<std::string, std::string>& properties) {
        return CentreColour(properties["IconThemePath"] + "/" + properties["IconName"] + ".png");
    }
    bool Click(const std::string& label) {
        const bool clicked = host.Ask("click " + label).has_value();
        EXPECT_TRUE(clicked) << host.LastError();
        return clicked;
    }

    PeerProcess host{"status_notifier_host.py"};
    Owner owner;
    std::unique_ptr<app::TrayBackend> backend;
    app::AppIndicatorTray* tray = nullptr;
    std::unique_ptr<app::CTrayIcon> icon;
};

TEST_F(StatusNotifierTray, TheHostSeesEachStatesPictureTitleAndStatus) {
    std::map<std::string, std::string> idle = Properties();
    EXPECT_EQ(idle["Id"], "vigilon");
    EXPECT_EQ(idle["Category"], "ApplicationStatus");
    EXPECT_EQ(idle["Status"], "Active");
    EXPECT_EQ(idle["Title"], "Vigilon - Idle") << "hosts show the title as the tooltip";
    EXPECT_EQ(idle["IconAccessibleDesc"], "Vigilon - Idle");
    EXPECT_EQ(idle["IconThemePath"], tray->IconFolder());
    const unsigned long idleColour = ShownColour(idle);
    EXPECT_GT(Green(idleColour), Red(idleColour)) << std::hex << idleColour;

    EXPECT_TRUE(icon->SetIcon(143));
    EXPECT_TRUE(icon->SetTooltipText("Vigilon - Target Offline"));
    std::map<std::string, std::string> offline = PropertiesOnceTitled("Vigilon - Target Offline");
    EXPECT_EQ(offline["Status"], "Active");
    const unsigned long offlineColour = ShownColour(offline);
    EXPECT_GT(Red(offlineColour), Green(offlineColour) + 64) << std::hex << offlineColour;

    EXPECT_TRUE(icon->SetIcon(141));
    EXPECT_TRUE(icon->SetTooltipText("Vigilon - Target Online"));
    std::map<std::string, std::string> online = PropertiesOnceTitled("Vigilon - Target Online");
    EXPECT_EQ(online["IconAccessibleDesc"], "Vigilon - Target Online");
    EXPECT_GT(Green(ShownColour(online)), Green(idleColour) + 40)
        << "online is the brighter green: " << std::hex << ShownColour(online) << " " << idleColour;
    EXPECT_NE(online["IconName"], idle["IconName"]);

    EXPECT_TRUE(icon->RemoveIcon());
    EXPECT_FALSE(tray->TrayShown());
    EXPECT_TRUE(PumpUntil([&] { return Properties()["Status"] == "Passive"; }))
        << "the host hides it";

    const std::filesystem::path folder = tray->IconFolder();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    icon.reset();
    backend.reset();
    EXPECT_FALSE(std::filesystem::exists(folder)) << "the pictures go with the tray";
    EXPECT_EQ(owner.callbacks, 0);
}

TEST_F(StatusNotifierTray, TheMenuIsTheTrayMenuAndItsChoicesReachTheOwner) {
    const std::optional<PeerProcess::Line> layout = host.Ask("layout");
    ASSERT_TRUE(layout.has_value()) << host.LastError();
    std::vector<std::string> shown;
    for (std::size_t i = 1; i < layout->size(); ++i) {
        const std::string& item = (*layout)[i];  // id|type|visible|label
        const std::size_t typeStart = item.find('|') + 1;
        const std::string rest = item.substr(typeStart);
        EXPECT_NE(rest.find("|True|"), std::string::npos) << item;
        shown.push_back(rest.starts_with("separator") ? "-" : rest.substr(rest.find("|True|") + 6));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Open", "-", "Start / Stop", "-", "Settings",
                                               "View Log", "-", "Simple Ping", "-", "Help",
                                               "About Vigilon...", "-", "Exit"}));

    ASSERT_TRUE(Click("Open"));
    EXPECT_TRUE(PumpUntil([&] { return owner.commands.size() == 1; }));
    ASSERT_TRUE(Click("Exit"));
    EXPECT_TRUE(PumpUntil([&] { return owner.commands.size() == 2; }));
    ASSERT_TRUE(host.Ask("secondary").has_value()) << host.LastError();
    EXPECT_TRUE(PumpUntil([&] { return owner.commands.size() == 3; }));
    EXPECT_EQ(owner.commands,
              (std::vector<int>{app::ID_TRAY_OPEN, app::ID_TRAY_EXIT, app::ID_TRAY_OPEN}))
        << "the middle click runs the first item";

    // Once removed, the icon runs nothing, whatever a host still sends.
    EXPECT_TRUE(icon->RemoveIcon());
    ASSERT_TRUE(Click("Settings"));
    PumpFor(300ms);
    EXPECT_EQ(owner.commands.size(), 3u);
    EXPECT_EQ(owner.callbacks, 0) << "the protocol reports no mouse messages";
}

}  // namespace
}  // namespace vigilon::test
