#pragma once

#include <wx/bmpbndl.h>
#include <wx/taskbar.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "TrayBackend.h"

namespace vigilon::app {

// The notification area through wx's tray icon. With wx 3.2 on GTK 3 that is
// an XEmbed icon: it shows on an X11 desktop that runs a system tray, and
// nowhere else. Its mouse actions reach the record's owner as the callback
// message, with the mouse messages a tray icon sends on Windows.
class WxTaskBarTray : public TrayBackend {
public:
    WxTaskBarTray();
    ~WxTaskBarTray() override;
    WxTaskBarTray(const WxTaskBarTray&) = delete;
    WxTaskBarTray& operator=(const WxTaskBarTray&) = delete;

    bool HasNotificationArea() const override;
    bool TrayShown() const override;
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override;
    void TrackPopupMenu(const MenuItem& popup, int defaultIndex, TrayOwner& owner) override;

private:
    bool ShowIcon();
    const wxBitmapBundle* Bundle(int iconId);
    void OnLeftDown();
    void Notify(unsigned mouseMessage);

    wxTaskBarIcon taskBarIcon_;
    bool added_ = false;
    bool notifyOwner_ = false;  // the icon was added with a callback message
    NotifyIconRecord record_;   // what the icon shows, and whom it tells
    // What the tray shows now, so that an unchanged state costs nothing.
    int shownIconId_ = 0;
    std::string shownTip_;
    std::map<int, wxBitmapBundle> bundles_;
    // GTK reports every left press but no double-click: pair presses here.
    std::chrono::steady_clock::time_point lastLeftDown_;
    bool leftDownPending_ = false;
    TrayOwner* menuOwner_ = nullptr;
    std::vector<int> menuCommands_;  // the open popup's commands, by item
};

}  // namespace vigilon::app
