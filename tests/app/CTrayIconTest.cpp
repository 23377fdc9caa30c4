// The tray icon's rules over a recording notification area and owner.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CTrayIcon.h"
#include "CommandIds.h"

namespace vigilon::test {
namespace {

using app::CTrayIcon;
using app::MenuItem;
using app::NotifyIconMessage;
using app::NotifyIconRecord;

constexpr unsigned kCallback = 1034;
constexpr unsigned kTrayId = 144;

struct Call {
    NotifyIconMessage message;
    NotifyIconRecord record;
};

class FakeTray : public app::TrayBackend {
public:
    explicit FakeTray(std::vector<std::string>& events) : events_(events) {}
    bool HasNotificationArea() const override { return hasArea; }
    bool TrayShown() const override { return true; }
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override {
        calls.push_back({message, record});
        return message == NotifyIconMessage::Add ? acceptAdd : acceptOthers;
    }
    void TrackPopupMenu(const MenuItem& popup, int defaultIndex, app::TrayOwner& owner) override {
        events_.push_back("track");
        trackedPopup = popup;
        trackedDefault = defaultIndex;
        trackedOwner = &owner;
    }

    bool hasArea = true;
    bool acceptAdd = true;
    bool acceptOthers = true;
    std::vector<Call> calls;
    std::optional<MenuItem> trackedPopup;
    int trackedDefault = -1;
    app::TrayOwner* trackedOwner = nullptr;

private:
    std::vector<std::string>& events_;
};

class FakeOwner : public app::TrayOwner {
public:
    explicit FakeOwner(std::vector<std::string>& events) : events_(events) {}
    long OnTrayCallback(unsigned, unsigned long, long) override { return 0; }
    void OnTrayCommand(int commandId) override { events_.push_back("command " + std::to_string(commandId)); }
    void BringToForeground() override { events_.push_back("foreground"); }

private:
    std::vector<std::string>& events_;
};

class TrayIcon : public ::testing::Test {
protected:
    bool Create(unsigned identifier = kTrayId) {
        return icon.Create(&owner, kCallback, "Vigilon - Idle", 142, identifier);
    }
    // Whatever the icon's state, none of these may reach the notification area.
    void ExpectInertAfter(std::size_t callsSoFar) {
        EXPECT_FALSE(icon.SetIcon(141));
        EXPECT_FALSE(icon.SetTooltipText("Vigilon - Target Online"));
        EXPECT_FALSE(icon.RemoveIcon());
        EXPECT_EQ(tray.calls.size(), callsSoFar);
        EXPECT_FALSE(icon.IsEnabled());
    }

    std::vector<std::string> events;
    FakeTray tray{events};
    FakeOwner owner{events};
    CTrayIcon icon{tray};
};

TEST_F(TrayIcon, CreateFailsWithoutNotificationAreaOwnerOrAcceptedAdd) {
    tray.hasArea = false;
    EXPECT_FALSE(Create());
    ExpectInertAfter(0);

    tray.hasArea = true;
    EXPECT_FALSE(icon.Create(nullptr, kCallback, "Vigilon - Idle", 142, kTrayId));
    ExpectInertAfter(0);

    tray.acceptAdd = false;
    EXPECT_FALSE(Create());
    ASSERT_EQ(tray.calls.size(), 1u);
    EXPECT_EQ(tray.calls[0].message, NotifyIconMessage::Add);
    ExpectInertAfter(1);
}

TEST_F(TrayIcon, EachCallCarriesItsFlagsAndTheFixedFields) {
    ASSERT_TRUE(Create());
    EXPECT_TRUE(icon.IsEnabled());
    EXPECT_TRUE(icon.SetIcon(143));
    EXPECT_TRUE(icon.SetTooltipText("Vigilon - Target Offline"));
    tray.acceptOthers = false;
    EXPECT_FALSE(icon.SetIcon(141)) << "a refused change is the caller's to know";
    EXPECT_TRUE(icon.IsEnabled()) << "and keeps the icon";
    EXPECT_FALSE(icon.RemoveIcon()) << "the platform's result";
    ExpectInertAfter(5);

    ASSERT_EQ(tray.calls.size(), 5u);
    const std::vector<std::pair<NotifyIconMessage, unsigned>> expected = {
        {NotifyIconMessage::Add, app::NIF_MESSAGE | app::NIF_ICON | app::NIF_TIP},
        {NotifyIconMessage::Modify, app::NIF_ICON},
        {NotifyIconMessage::Modify, app::NIF_TIP},
        {NotifyIconMessage::Modify, app::NIF_ICON},
        {NotifyIconMessage::Delete, 0},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const NotifyIconRecord& record = tray.calls[i].record;
        EXPECT_EQ(tray.calls[i].message, expected[i].first) << i;
        EXPECT_EQ(record.flags, expected[i].second) << i;
        EXPECT_EQ(record.owner, &owner) << i;
        EXPECT_EQ(record.id, kTrayId) << i;
        EXPECT_EQ(record.callbackMessage, kCallback) << i;
    }
    EXPECT_EQ(tray.calls[0].record.iconId, 142);
    EXPECT_EQ(tray.calls[0].record.tip, "Vigilon - Idle");
    EXPECT_EQ(tray.calls[1].record.iconId, 143);
    EXPECT_EQ(tray.calls[2].record.tip, "Vigilon - Target Offline") << "24 characters fit";
    EXPECT_EQ(tray.calls[2].record.iconId, 143) << "the record is kept between calls";
    EXPECT_EQ(tray.calls[3].record.iconId, 141);
}

TEST(TrayIconLifetime, DestroyingTheIconRemovesItOnce) {
    std::vector<std::string> events;
    FakeTray tray(events);
    FakeOwner owner(events);
    {
        CTrayIcon icon(tray);
        ASSERT_TRUE(icon.Create(&owner, kCallback, "Vigilon - Idle", 142, kTrayId));
    }
    ASSERT_EQ(tray.calls.size(), 2u);
    EXPECT_EQ(tray.calls[1].message, NotifyIconMessage::Delete);
    {
        CTrayIcon icon(tray);
        ASSERT_TRUE(icon.Create(&owner, kCallback, "Vigilon - Idle", 142, kTrayId));
        icon.RemoveIcon();
    }
    EXPECT_EQ(tray.calls.size(), 4u) << "an icon already removed is not removed again";
}

TEST_F(TrayIcon, LongTooltipsAreCutAt63BytesOnACharacterBoundary) {
    ASSERT_TRUE(Create());
    icon.SetTooltipText(std::string(70, 'x'));
    EXPECT_EQ(tray.calls.back().record.tip, std::string(63, 'x'));

    // "é" is two bytes; at bytes 62..63 it would be split by a plain cut.
    icon.SetTooltipText(std::string(62, 'x') + "\xC3\xA9" + "tail");
    EXPECT_EQ(tray.calls.back().record.tip, std::string(62, 'x'));
    // A three-byte character ending exactly at byte 63 stays whole.
    const std::string fits = std::string(60, 'x') + "\xE2\x82\xAC";
    ASSERT_TRUE(icon.Create(&owner, kCallback, fits + "more", 142, kTrayId));
    EXPECT_EQ(tray.calls.back().record.tip, fits);
}

TEST_F(TrayIcon, RightButtonReleaseTracksTheFirstPopupWithItsFirstItemAsDefault) {
    ASSERT_TRUE(Create());
    // Only the low 16 bits of the callback's second parameter are the mouse message.
    EXPECT_EQ(icon.OnTrayNotification(kTrayId, 0x7FFF0000L | app::TRAY_RBUTTONUP), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"foreground", "track"}));
    ASSERT_TRUE(tray.trackedPopup.has_value());
    EXPECT_EQ(tray.trackedPopup->text, "Popup Menu");
    ASSERT_FALSE(tray.trackedPopup->children.empty());
    EXPECT_EQ(tray.trackedPopup->children.front().id, app::ID_TRAY_OPEN);
    EXPECT_EQ(tray.trackedPopup->children.back().id, app::ID_TRAY_EXIT);
    EXPECT_EQ(tray.trackedDefault, 0);
    EXPECT_EQ(tray.trackedOwner, &owner);
}

TEST_F(TrayIcon, LeftDoubleClickRunsOpenAtOnce) {
    ASSERT_TRUE(Create());
    EXPECT_EQ(icon.OnTrayNotification(kTrayId, app::TRAY_LBUTTONDBLCLK), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"foreground", "command 32783"}));
    EXPECT_FALSE(tray.trackedPopup.has_value());
}

TEST_F(TrayIcon, OtherMouseMessagesReturnOneAndDoNothing) {
    ASSERT_TRUE(Create());
    for (unsigned message : {0x0200u /* move */, 0x0201u /* left down */, 0x0202u /* left up */,
                             0x0204u /* right down */, 0x0206u /* right double-click */})
        EXPECT_EQ(icon.OnTrayNotification(kTrayId, message), 1) << message;
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(tray.calls.size(), 1u);
}

TEST_F(TrayIcon, AForeignIdentifierOrAnIconNeverCreatedReturnsZero) {
    EXPECT_EQ(icon.OnTrayNotification(0, app::TRAY_RBUTTONUP), 0) << "never created: no owner to tell";
    ASSERT_TRUE(Create());
    EXPECT_EQ(icon.OnTrayNotification(kTrayId + 1, app::TRAY_RBUTTONUP), 0);
    EXPECT_EQ(icon.OnTrayNotification(kTrayId + 1, app::TRAY_LBUTTONDBLCLK), 0);
    EXPECT_EQ(icon.OnTrayNotification(kTrayId + 1, app::TRAY_MOUSEMOVE), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayIcon, TheMenuIsFoundByTheIdentifiersLow16BitsAndAMissingOneDoesNothing) {
    ASSERT_TRUE(Create(0x10000 | kTrayId));
    EXPECT_EQ(icon.OnTrayNotification(0x10000 | kTrayId, app::TRAY_LBUTTONDBLCLK), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"foreground", "command 32783"}));

    events.clear();
    CTrayIcon noMenu(tray);
    ASSERT_TRUE(noMenu.Create(&owner, kCallback, "Vigilon - Idle", 142, 145));
    EXPECT_EQ(noMenu.OnTrayNotification(145, app::TRAY_RBUTTONUP), 0);
    EXPECT_EQ(noMenu.OnTrayNotification(145, app::TRAY_LBUTTONDBLCLK), 0);
    EXPECT_EQ(noMenu.OnTrayNotification(145, app::TRAY_MOUSEMOVE), 1);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(tray.trackedPopup.has_value());
}

}  // namespace
}  // namespace vigilon::test
