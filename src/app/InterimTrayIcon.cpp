// Interim: the tray icon's logic as far as the main window needs it while
// the tray's own implementation is built elsewhere. Merging that one
// replaces this file (delete it: both define CTrayIcon's members).
#include "CTrayIcon.h"

namespace vigilon::app {

bool CTrayIcon::Create(TrayOwner* owner, unsigned callbackMessage, const std::string& tooltip,
                       int iconId, unsigned identifier) {
    enabled_ = false;
    if (!backend_.HasNotificationArea() || owner == nullptr) return false;
    record_ = {owner, identifier, NIF_MESSAGE | NIF_ICON | NIF_TIP, callbackMessage, iconId, tooltip};
    enabled_ = backend_.NotifyIcon(NotifyIconMessage::Add, record_);
    return enabled_;
}

bool CTrayIcon::RemoveIcon() {
    if (!enabled_) return false;
    record_.flags = 0;
    enabled_ = false;
    return backend_.NotifyIcon(NotifyIconMessage::Delete, record_);
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
    record_.tip = text;
    return backend_.NotifyIcon(NotifyIconMessage::Modify, record_);
}

long CTrayIcon::OnTrayNotification(unsigned long wParam, long lParam) {
    if (wParam != record_.id) return 0;
    const MenuResource* menu = FindMenuResource(static_cast<int>(record_.id & 0xFFFF));
    if (menu == nullptr || menu->popups.empty() || menu->popups[0].children.empty()) return 0;
    const MenuItem& popup = menu->popups[0];
    switch (static_cast<unsigned>(lParam) & 0xFFFF) {
        case TRAY_RBUTTONUP:
            record_.owner->BringToForeground();
            backend_.TrackPopupMenu(popup, 0, *record_.owner);
            break;
        case TRAY_LBUTTONDBLCLK:
            record_.owner->BringToForeground();
            record_.owner->OnTrayCommand(popup.children[0].id);
            break;
        default: break;
    }
    return 1;
}

}  // namespace vigilon::app
