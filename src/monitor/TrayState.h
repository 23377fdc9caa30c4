#pragma once

namespace vigilon {

enum class TrayState { Idle, TargetOnline, TargetOffline };

// The tray icon's tooltip for each state.
inline const char* TrayTooltip(TrayState state) {
    switch (state) {
        case TrayState::TargetOnline: return "Vigilon - Target Online";
        case TrayState::TargetOffline: return "Vigilon - Target Offline";
        case TrayState::Idle: break;
    }
    return "Vigilon - Idle";
}

}  // namespace vigilon
