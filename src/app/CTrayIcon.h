#pragma once

#include <string>

#include "TrayBackend.h"

namespace vigilon::app {

// One icon with a tooltip in the notification area, and the mouse rules of
// its callback: a right-button release opens the popup menu named by the
// identifier, a left double-click runs that menu's first command. Knows
// nothing of monitoring; the icons, texts and menu come from its owner.
class CTrayIcon {
public:
    explicit CTrayIcon(TrayBackend& backend) : backend_(backend) {}
    ~CTrayIcon() { RemoveIcon(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    bool Create(TrayOwner* owner, unsigned callbackMessage, const std::string& tooltip, int iconId,
                unsigned identifier);
    bool RemoveIcon();
    bool SetIcon(int iconId);
    bool SetTooltipText(const std::string& text);
    long OnTrayNotification(unsigned long wParam, long lParam);

    bool IsEnabled() const { return enabled_; }
    TrayBackend& Backend() { return backend_; }

private:
    TrayBackend& backend_;
    bool enabled_ = false;
    NotifyIconRecord record_;
};

}  // namespace vigilon::app
