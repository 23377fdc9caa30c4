#include "WxTaskBarTray.h"

#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <optional>
#include <vector>

#include "Pictures.h"
#include "TrayPresentation.h"
#include "WindowTweaks.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

std::optional<Picture> TrayPicture(int iconId) {
    if (const TrayLook* look = TrayLookForIcon(iconId)) return look->picture;
    return std::nullopt;
}

// wx takes menu ids below 0x7FFF only, and the commands lie above it: the
// items get small ids of their own, mapped back to the commands on a choice.
constexpr int kFirstMenuId = 100;

void AppendItems(wxMenu& menu, const std::vector<MenuItem>& items, std::vector<int>& commands) {
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu.AppendSeparator();
        } else if (!item.children.empty()) {
            auto* submenu = new wxMenu;
            AppendItems(*submenu, item.children, commands);
            menu.AppendSubMenu(submenu, ToWx(item.text));
        } else {
            menu.Append(kFirstMenuId + static_cast<int>(commands.size()), ToWx(item.text));
            commands.push_back(item.id);
        }
    }
}

// wx hands GTK one picture, and GTK fits it to the tray's icon size by
// shrinking only: drawn this large, it fills any usual tray (trayer's 22
// pixels, GNOME's and Xfce's 16 to 48) instead of sitting small inside it.
constexpr int kTrayPictureSide = 48;

std::chrono::milliseconds DoubleClickTime() {
    const int msec = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
    return std::chrono::milliseconds(msec > 0 ? msec : 500);
}

}  // namespace

WxTaskBarTray::WxTaskBarTray() {
    taskBarIcon_.Bind(wxEVT_TASKBAR_MOVE, [this](wxTaskBarIconEvent&) { Notify(TRAY_MOUSEMOVE); });
    taskBarIcon_.Bind(wxEVT_TASKBAR_LEFT_DOWN, [this](wxTaskBarIconEvent&) { OnLeftDown(); });
    taskBarIcon_.Bind(wxEVT_TASKBAR_LEFT_UP,
                      [this](wxTaskBarIconEvent&) { Notify(TRAY_LBUTTONUP); });
    taskBarIcon_.Bind(wxEVT_TASKBAR_LEFT_DCLICK,
                      [this](wxTaskBarIconEvent&) { Notify(TRAY_LBUTTONDBLCLK); });
    taskBarIcon_.Bind(wxEVT_TASKBAR_RIGHT_DOWN, [this](wxTaskBarIconEvent&) {
        Notify(TRAY_RBUTTONDOWN);
        // Where the desktop opens context menus on the press (GTK), no release
        // is reported: the press is the gesture that asks for the menu.
        if (wxEVT_TASKBAR_CLICK == wxEVT_TASKBAR_RIGHT_DOWN) Notify(TRAY_RBUTTONUP);
    });
    taskBarIcon_.Bind(wxEVT_TASKBAR_RIGHT_UP,
                      [this](wxTaskBarIconEvent&) { Notify(TRAY_RBUTTONUP); });
    // A choice from the popup reaches the owner once the menu and the mouse
    // event that opened it are done, as a posted command would.
    taskBarIcon_.Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
        const int index = event.GetId() - kFirstMenuId;
        if (menuOwner_ == nullptr || index < 0 || index >= static_cast<int>(menuCommands_.size()))
            return;
        TrayOwner* owner = menuOwner_;
        const int command = menuCommands_[index];
        taskBarIcon_.CallAfter([owner, command] { owner->OnTrayCommand(command); });
    });
}

WxTaskBarTray::~WxTaskBarTray() {
    if (added_) taskBarIcon_.RemoveIcon();
}

bool WxTaskBarTray::HasNotificationArea() const { return TaskBarIconCanShow(); }

bool WxTaskBarTray::TrayShown() const { return added_ && wxTaskBarIcon::IsAvailable(); }

bool WxTaskBarTray::NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) {
    switch (message) {
        case NotifyIconMessage::Add:
            // A second Add replaces the icon rather than leaving one behind.
            record_ = NotifyIconRecord{record.owner, record.id, record.flags, 0, 0, {}};
            notifyOwner_ = (record.flags & NIF_MESSAGE) != 0;
            if (notifyOwner_) record_.callbackMessage = record.callbackMessage;
            break;
        case NotifyIconMessage::Modify:
            if (!added_ || record.id != record_.id) return false;
            break;
        case NotifyIconMessage::Delete:
            if (!added_ || record.id != record_.id) return false;
            added_ = false;
            shownIconId_ = 0;
            shownTip_.clear();
            return taskBarIcon_.RemoveIcon();
    }
    if (record.flags & NIF_ICON) record_.iconId = record.iconId;
    if (record.flags & NIF_TIP) record_.tip = record.tip;
    const bool shown = ShowIcon();
    if (message == NotifyIconMessage::Add) added_ = shown;
    return shown;
}

bool WxTaskBarTray::ShowIcon() {
    const wxBitmapBundle* bundle = Bundle(record_.iconId);
    if (bundle == nullptr) return false;
    if (added_ && record_.iconId == shownIconId_ && record_.tip == shownTip_) return true;
    if (!taskBarIcon_.SetIcon(*bundle, ToWx(record_.tip))) return false;
    shownIconId_ = record_.iconId;
    shownTip_ = record_.tip;
    return true;
}

const wxBitmapBundle* WxTaskBarTray::Bundle(int iconId) {
    const std::optional<Picture> picture = TrayPicture(iconId);
    if (!picture) return nullptr;
    auto found = bundles_.find(iconId);
    if (found == bundles_.end())
        found = bundles_
                    .emplace(iconId,
                             PictureBundle(*picture, wxSize(kTrayPictureSide, kTrayPictureSide)))
                    .first;
    return found->second.IsOk() ? &found->second : nullptr;
}

void WxTaskBarTray::TrackPopupMenu(const MenuItem& popup, int /*defaultIndex*/, TrayOwner& owner) {
    // GTK menus know no default item and wx offers no bold label there; the
    // tray menu's default is its first item, which stands first anyway.
    wxMenu menu;
    menuCommands_.clear();
    AppendItems(menu, popup.children, menuCommands_);
    menuOwner_ = &owner;
    taskBarIcon_.PopupMenu(&menu);
}

void WxTaskBarTray::OnLeftDown() {
    // The second press within the desktop's double-click time is the double-click.
    const auto now = std::chrono::steady_clock::now();
    if (leftDownPending_ && now - lastLeftDown_ <= DoubleClickTime()) {
        leftDownPending_ = false;
        Notify(TRAY_LBUTTONDBLCLK);
        return;
    }
    leftDownPending_ = true;
    lastLeftDown_ = now;
    Notify(TRAY_LBUTTONDOWN);
}

void WxTaskBarTray::Notify(unsigned mouseMessage) {
    if (!added_ || !notifyOwner_ || record_.owner == nullptr) return;
    record_.owner->OnTrayCallback(record_.callbackMessage, record_.id,
                                  static_cast<long>(mouseMessage));
}

}  // namespace vigilon::app
