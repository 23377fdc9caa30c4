#pragma once

#include <span>

#include "CommandIds.h"
#include "PictureId.h"
#include "TrayState.h"

namespace vigilon::app {

// The tray icon's pictures by resource id.
enum TrayIconId : int {
    ICON_TRAY_ONLINE = 141,   // bright green lamp
    ICON_TRAY_IDLE = 142,     // dark green lamp
    ICON_TRAY_OFFLINE = 143,  // red lamp
};

// How the tray shows one state of the run, in one place: the icon's
// resource id, the picture drawn for it, the name a StatusNotifierItem host
// finds that picture by, and the tooltip.
struct TrayLook {
    TrayState state;
    int iconId;
    Picture picture;
    const char* iconName;
    const char* tooltip;
};

inline constexpr TrayLook kTrayLooks[] = {
    {TrayState::Idle, ICON_TRAY_IDLE, Picture::TrayIdle, "vigilon-tray-idle", "Vigilon - Idle"},
    {TrayState::TargetOnline, ICON_TRAY_ONLINE, Picture::TrayOnline, "vigilon-tray-online",
     "Vigilon - Target Online"},
    {TrayState::TargetOffline, ICON_TRAY_OFFLINE, Picture::TrayOffline, "vigilon-tray-offline",
     "Vigilon - Target Offline"},
};

inline const TrayLook& TrayLookFor(TrayState state) {
    for (const TrayLook& look : kTrayLooks)
        if (look.state == state) return look;
    return kTrayLooks[0];
}

// nullptr for an id that is no tray picture.
inline const TrayLook* TrayLookForIcon(int iconId) {
    for (const TrayLook& look : kTrayLooks)
        if (look.iconId == iconId) return &look;
    return nullptr;
}

// The message the tray sends the main window (WM_USER + 10), and the icon's
// identifier, which also names the popup menu the tray opens.
inline constexpr unsigned kTrayCallbackMessage = 0x0400 + 10;
inline constexpr unsigned kTrayIconIdentifier = kTrayMenuId;

}  // namespace vigilon::app
