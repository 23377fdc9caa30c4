// The tray icon's rules over a recording notification area and owner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CTrayIcon.h"

namespace vigilon::test {
namespace {

using app::NotifyIconMessage;
using Calls = std::vector<std::string>;

constexpr unsigned kCallback = 1034;

// Plays both the notification area and the owner window, writing down each call.
class Recorder : public app::TrayBackend, public app::TrayOwner {
public:
    bool HasNotificationArea() const override { return hasArea; }
    bool TrayShown() const override { return true; }
    bool NotifyIcon(NotifyIconMessage message, const app::NotifyIconRecord& r) override {
        EXPECT_EQ(r.owner, this);
        EXPECT_EQ(r.callbackMessage, kCallback);
        const char* names[] = {"add", "modify", "delete"};
        calls.push_back(std::string(names[static_cast<int>(message)]) + " " + std::to_string(r.id) +
                        " flags " + std::to_string(r.flags) + " icon " + std::to_string(r.iconId) +
                        " " + r.tip);
        return message == NotifyIconMessage::Add ? acceptAdd : acceptOthers;
    }
    void TrackPopupMenu(const app::MenuItem& popup, int defaultIndex,
                        app::TrayOwner& owner) override {
        EXPECT_EQ(&owner, this);
        calls.push_back(
            "track " + popup.text + " from " + std::to_string(popup.children.front().id) + " to " +
            std::to_string(popup.children.back().id) + " default " + std::to_string(defaultIndex));
    }
    long OnTrayCallback(unsigned, unsigned long, long) override { return 0; }
    void OnTrayCommand(int commandId) override {
        calls.push_back("command " + std::to_string(commandId));
    }
    void BringToForeground() override { calls.push_back("foreground"); }

    bool hasArea = true, acceptAdd = true, acceptOthers = true;
    Calls calls;
};

class TrayIcon : public ::testing::Test {
protected:
    bool Create(unsigned identifier = 144, const std::string& tip = "Vigilon - Idle") {
        return icon.Create(&tray, kCallback, tip, 142, identifier);
    }
    // Without an icon nothing reaches the notification area.
    void ExpectInert() {
        const std::size_t before = tray.calls.size();
        EXPECT_FALSE(icon.SetIcon(141));
        EXPECT_FALSE(icon.SetTooltipText("Vigilon - Target Online"));
        EXPECT_FALSE(icon.RemoveIcon());
        EXPECT_FALSE(icon.IsEnabled());
        EXPECT_EQ(tray.calls.size(), before);
    }

    Recorder tray;
    app::CTrayIcon icon{tray};
};

TEST_F(TrayIcon, CreateFailsWithoutNotificationAreaOwnerOrAcceptedAdd) {
    tray.hasArea = false;
    EXPECT_FALSE(Create());
    ExpectInert();
    tray.hasArea = true;
    EXPECT_FALSE(icon.Create(nullptr, kCallback, "Vigilon - Idle", 142, 144));
    ExpectInert();
    EXPECT_TRUE(tray.calls.empty());
    tray.acceptAdd = false;
    EXPECT_FALSE(Create());
    EXPECT_EQ(tray.calls, Calls{"add 144 flags 7 icon 142 Vigilon - Idle"});
    ExpectInert();
}

TEST_F(TrayIcon, EachCallSendsItsFlagsOverTheKeptRecordUntilRemoved) {
    ASSERT_TRUE(Create());
    EXPECT_TRUE(icon.SetIcon(143));
    EXPECT_TRUE(icon.SetTooltipText("Vigilon - Target Offline"));
    tray.acceptOthers = false;
    EXPECT_FALSE(icon.SetIcon(141)) << "a refused change is the caller's to know";
    EXPECT_TRUE(icon.IsEnabled()) << "and keeps the icon";
    EXPECT_FALSE(icon.RemoveIcon()) << "the platform's result";
    ExpectInert();
    EXPECT_EQ(tray.calls, (Calls{"add 144 flags 7 icon 142 Vigilon - Idle",
                                 "modify 144 flags 2 icon 143 Vigilon - Idle",
                                 "modify 144 flags 4 icon 143 Vigilon - Target Offline",
                                 "modify 144 flags 2 icon 141 Vigilon - Target Offline",
                                 "delete 144 flags 0 icon 141 Vigilon - Target Offline"}));

    tray.calls.clear();
    {
        app::CTrayIcon scoped(tray);
        ASSERT_TRUE(scoped.Create(&tray, kCallback, "Vigilon - Idle", 142, 144));
    }
    EXPECT_EQ(tray.calls.back(), "delete 144 flags 0 icon 142 Vigilon - Idle")
        << "destroying removes the icon";
}

TEST_F(TrayIcon, LongTooltipsAreCutAt63BytesOnACharacterBoundary) {
    ASSERT_TRUE(Create(144, std::string(70, 'x')));
    EXPECT_EQ(tray.calls.back(), "add 144 flags 7 icon 142 " + std::string(63, 'x'));
    icon.SetTooltipText(std::string(62, 'x') + "\xC3\xA9 tail");  // a plain cut would split the "é"
    EXPECT_EQ(tray.calls.back(), "modify 144 flags 4 icon 142 " + std::string(62, 'x'));
    icon.SetTooltipText(std::string(60, 'x') + "\xE2\x82\xAC tail");  // "€" ends at byte 63
    EXPECT_EQ(tray.calls.back(),
              "modify 144 flags 4 icon 142 " + std::string(60, 'x') + "\xE2\x82\xAC");
}

TEST_F(TrayIcon, MouseMessagesFromTheIconsCallback) {
    EXPECT_EQ(icon.OnTrayNotification(0, 0x0205), 0) << "never created: no owner to tell";
    ASSERT_TRUE(Create());
    tray.calls.clear();
    EXPECT_EQ(icon.OnTrayNotification(145, 0x0205), 0) << "another icon's identifier";
    EXPECT_EQ(icon.OnTrayNotification(145, 0x0203), 0);
    for (long other : {0x0200L, 0x0201L, 0x0202L, 0x0204L, 0x0206L})
        EXPECT_EQ(icon.OnTrayNotification(144, other), 1);
    EXPECT_TRUE(tray.calls.empty())
        << "moves, presses, left release and right double-click do nothing";

    // Only the low 16 bits of the second parameter are the mouse message.
    EXPECT_EQ(icon.OnTrayNotification(144, 0x7FFF0205L), 1);
    EXPECT_EQ(icon.OnTrayNotification(144, 0x0203), 1);
    EXPECT_EQ(tray.calls, (Calls{"foreground", "track Popup Menu from 32783 to 32786 default 0",  //
                                 "foreground", "command 32783"}));
}

TEST_F(TrayIcon, TheMenuIsFoundByTheIdentifiersLow16BitsAndAMissingOneDoesNothing) {
    ASSERT_TRUE(Create(0x10000 | 144));
    EXPECT_EQ(icon.OnTrayNotification(0x10000 | 144, 0x0203), 1);
    EXPECT_EQ(tray.calls.back(), "command 32783");

    ASSERT_TRUE(Create(145));
    tray.calls.clear();
    EXPECT_EQ(icon.OnTrayNotification(145, 0x0205), 0);
    EXPECT_EQ(icon.OnTrayNotification(145, 0x0203), 0);
    EXPECT_TRUE(tray.calls.empty());
}

}  // namespace
}  // namespace vigilon::test
