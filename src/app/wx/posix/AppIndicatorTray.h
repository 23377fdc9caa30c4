#pragma once

#include <wx/event.h>

#include <memory>
#include <string>

#include "TrayBackend.h"

namespace vigilon::app {

// The notification area as a StatusNotifierItem (libayatana-appindicator),
// the tray of KDE Plasma, Xfce, Cinnamon, MATE, LXQt and GNOME with the
// AppIndicator extension, on Wayland as on X11. The host draws the icon from
// a picture file by name, shows the title as the tooltip and opens the menu
// (the tray menu named by the icon's identifier) on a click by itself; it
// reports no mouse messages. A chosen item reaches the owner through
// OnTrayCommand, and the middle click (secondary activation) runs the menu's
// first item, as a double-click does on other trays.
class AppIndicatorTray : public TrayBackend {
public:
    AppIndicatorTray();
    ~AppIndicatorTray() override;
    AppIndicatorTray(const AppIndicatorTray&) = delete;
    AppIndicatorTray& operator=(const AppIndicatorTray&) = delete;

    bool HasNotificationArea() const override;
    // True while the icon is added and registered with a StatusNotifierWatcher.
    bool TrayShown() const override;
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override;
    void TrackPopupMenu(const MenuItem& popup, int defaultIndex, TrayOwner& owner) override;

    // The folder that holds the icon pictures; empty before the first Add.
    std::string IconFolder() const;

private:
    struct Gtk;  // the indicator and its menu, GTK's side

    bool CreateIndicator(int iconId);
    void ApplyRecord(const NotifyIconRecord& record);
    void PostCommand(int commandId);

    std::unique_ptr<Gtk> gtk_;
    NotifyIconRecord record_;
    bool added_ = false;
    // A menu choice runs once the D-Bus call that made it is done: the
    // command may well destroy this tray (Exit).
    wxEvtHandler commands_;
};

}  // namespace vigilon::app
