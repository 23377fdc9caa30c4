#pragma once

#include "CommandIds.h"
#include "TrayState.h"

namespace vigilon::app {

// The tray icon's pictures by resource id.
enum TrayIconId : int {
    ICON_TRAY_ONLINE = 141,   // bright green lamp
    ICON_TRAY_IDLE = 142,     // dark green lamp
    ICON_TRAY_OFFLINE = 143,  // red lamp
};

// The message the tray sends the main window (WM_USER + 10), and the icon's
// identifier, which also names the popup menu the tray opens.
inline constexpr unsigned kTrayCallbackMessage = 0x0400 + 10;
inline constexpr unsigned kTrayIconIdentifier = kTrayMenuId;

inline int TrayIconFor(TrayState state) {
    switch (state) {
        case TrayState::TargetOnline: return ICON_TRAY_ONLINE;
        case TrayState::TargetOffline: return ICON_TRAY_OFFLINE;
        case TrayState::Idle: break;
    }
    return ICON_TRAY_IDLE;
}

}  // namespace vigilon::app
