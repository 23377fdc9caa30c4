#pragma once

#include <string>

#include "MenuResources.h"

namespace vigilon::app {

// Mouse messages a tray delivers through the owner's callback message.
enum TrayMouseMessage : unsigned {
    TRAY_MOUSEMOVE = 0x0200,
    TRAY_LBUTTONDOWN = 0x0201,
    TRAY_LBUTTONUP = 0x0202,
    TRAY_LBUTTONDBLCLK = 0x0203,
    TRAY_RBUTTONDOWN = 0x0204,
    TRAY_RBUTTONUP = 0x0205,
};

// The window that owns a tray icon. The tray sends it the callback message
// (with the icon's identifier and the mouse message) and the commands chosen
// from the popup menu.
class TrayOwner {
public:
    virtual ~TrayOwner() = default;
    virtual long OnTrayCallback(unsigned message, unsigned long wParam, long lParam) = 0;
    // A menu command, handled before this returns.
    virtual void OnTrayCommand(int commandId) = 0;
    virtual void BringToForeground() = 0;
};

// What a tray icon asks of the platform's notification area.
struct NotifyIconRecord {
    TrayOwner* owner = nullptr;
    unsigned id = 0;
    unsigned flags = 0;  // NIF_* below
    unsigned callbackMessage = 0;
    int iconId = 0;   // 141, 142 or 143
    std::string tip;  // at most 63 characters
};
enum NotifyIconFlags : unsigned { NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4 };
enum class NotifyIconMessage { Add, Modify, Delete };

// A notification area: wx's tray icon today, a StatusNotifierItem later.
class TrayBackend {
public:
    virtual ~TrayBackend() = default;
    // False where the platform has no notification area at all.
    virtual bool HasNotificationArea() const = 0;
    // True while a tray is there to show the icon and bring the window back.
    virtual bool TrayShown() const = 0;
    virtual bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) = 0;
    // Shows popup at the mouse pointer with item defaultIndex in bold, and
    // returns when it closes. The chosen item reaches owner through
    // OnTrayCommand after that, once the mouse event is done (a posted command).
    virtual void TrackPopupMenu(const MenuItem& popup, int defaultIndex, TrayOwner& owner) = 0;
};

}  // namespace vigilon::app
