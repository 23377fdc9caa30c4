// The main window's tray icon, and the rule for withdrawing into the tray.
#include "MonitorShell.h"
#include "TrayPresentation.h"

namespace vigilon::app {

void MonitorShell::CreateTrayIcon() {
    tray_.Create(this, kTrayCallbackMessage, TrayTooltip(TrayState::Idle), ICON_TRAY_IDLE,
                 kTrayIconIdentifier);
}

void MonitorShell::UpdateTrayIcon(TrayState state) {
    // Icon first, tooltip second; both do nothing while there is no icon.
    tray_.SetIcon(TrayIconFor(state));
    tray_.SetTooltipText(TrayTooltip(state));
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
