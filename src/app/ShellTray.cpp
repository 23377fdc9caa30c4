// The main window's tray icon, and the rule for withdrawing into the tray.
#include "MonitorShell.h"
#include "TrayPresentation.h"

namespace vigilon::app {

void MonitorShell::CreateTrayIcon() {
    const TrayLook& idle = TrayLookFor(TrayState::Idle);
    tray_.Create(this, kTrayCallbackMessage, idle.tooltip, idle.iconId, kTrayIconIdentifier);
}

void MonitorShell::UpdateTrayIcon(TrayState state) {
    // Icon first, tooltip second; both do nothing while there is no icon.
    const TrayLook& look = TrayLookFor(state);
    tray_.SetIcon(look.iconId);
    tray_.SetTooltipText(look.tooltip);
}

long MonitorShell::OnTrayCallback(unsigned message, unsigned long wParam, long lParam) {
    if (message != kTrayCallbackMessage) return 0;
    return tray_.OnTrayNotification(wParam, lParam);
}

// A window hidden without a tray to show its icon could never be brought
// back: many desktops have no tray, and a start-up that stopped early
// creates no icon. There the window minimises the ordinary way.
bool MonitorShell::CanHideIntoTray() const {
    return tray_.IsEnabled() && parts_.trayBackend.TrayShown();
}

void MonitorShell::OnMinimised() {
    if (CanHideIntoTray()) parts_.window.Withdraw();
}

void MonitorShell::HideWindow() {
    if (CanHideIntoTray())
        parts_.window.Withdraw();
    else
        parts_.window.Iconify();
}

}  // namespace vigilon::app
