#include "CTrayIcon.h"

namespace vigilon::app {

namespace {

// The notification record holds a tooltip of at most 63 bytes. A longer one
// is cut there, never inside a UTF-8 sequence.
constexpr std::size_t kMaxTipBytes = 63;

std::string FitTip(const std::string& text) {
    if (text.size() <= kMaxTipBytes) return text;
    std::size_t end = kMaxTipBytes;
    // Back up over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// The first pop-up of the menu named by the icon's identifier; an empty
// pop-up counts as none, for it has no first command to run.
const MenuItem* FirstPopup(unsigned identifier) {
    const MenuResource* menu = FindMenuResource(static_cast<int>(identifier & 0xFFFF));
    if (menu == nullptr || menu->popups.empty()) return nullptr;
    const MenuItem& popup = menu->popups.front();
    return popup.children.empty() ? nullptr : &popup;
}

}  // namespace

bool CTrayIcon::Create(TrayOwner* owner, unsigned callbackMessage, const std::string& tooltip,
                       int iconId, unsigned identifier) {
    if (!backend_.HasNotificationArea()) {
        enabled_ = false;
        return false;
    }
    if (owner == nullptr) {
        enabled_ = false;
        return false;
    }
    record_.owner = owner;
    record_.id = identifier;
    record_.iconId = iconId;
    record_.callbackMessage = callbackMessage;
    record_.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.tip = FitTip(tooltip);
    enabled_ = backend_.NotifyIcon(NotifyIconMessage::Add, record_);
    return enabled_;
}

bool CTrayIcon::RemoveIcon() {
    if (!enabled_) return false;
    record_.flags = 0;
    const bool removed = backend_.NotifyIcon(NotifyIconMessage::Delete, record_);
    enabled_ = false;
    return removed;
}

bool CTrayIcon::SetIcon(int iconId) {
    if (!enabled_) return false;
    record_.flags = NIF_ICON;
    record_.iconId = iconId;
    return backend_.NotifyIcon(NotifyIconMessage::Modify, record_);
}

bool CTrayIcon::SetTooltipText(const std::string& text) {
    if (!enabled_) return false;
    record_.flags = NIF_TIP;
    record_.tip = FitTip(text);
    return backend_.NotifyIcon(NotifyIconMessage::Modify, record_);
}

long CTrayIcon::OnTrayNotification(unsigned long wParam, long lParam) {
    // Without an owner (never created) no icon can have sent this.
    if (wParam != record_.id || record_.owner == nullptr) return 0;
    const unsigned mouseMessage = static_cast<unsigned long>(lParam) & 0xFFFF;

    if (mouseMessage == TRAY_RBUTTONUP) {
        const MenuItem* popup = FirstPopup(record_.id);
        if (popup == nullptr) return 0;
        record_.owner->BringToForeground();
        backend_.TrackPopupMenu(*popup, 0, *record_.owner);
        return 1;
    }
    if (mouseMessage == TRAY_LBUTTONDBLCLK) {
        const MenuItem* popup = FirstPopup(record_.id);
        if (popup == nullptr) return 0;
        record_.owner->BringToForeground();
        record_.owner->OnTrayCommand(popup->children.front().id);
        return 1;
    }
    return 1;
}

}  // namespace vigilon::app
