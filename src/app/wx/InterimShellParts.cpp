#include "InterimShellParts.h"

#include <wx/taskbar.h>

#include "Pictures.h"
#include "TrayPresentation.h"
#include "WxText.h"

namespace vigilon::app {

EditOutcome InterimSettingsEditing::EditSettings() {
    MonitorSettings& settings = engine_.Settings();
    if (settings.targetAddress.empty()) settings = FirstRunSettings();
    if (settings.controlAddress.empty()) settings.controlAddress = kDefaultControlHost;
    engine_.Run().countdown = settings.pingFrequency;
    engine_.UpdateMenuChecks();
    return EditOutcome::Applied;
}

namespace {

class InterimTaskBarTray : public TrayBackend {
public:
    bool HasNotificationArea() const override { return true; }
    bool TrayShown() const override { return wxTaskBarIcon::IsAvailable(); }

    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override {
        if (message == NotifyIconMessage::Delete) return icon_.RemoveIcon();
        Picture picture = Picture::TrayIdle;
        if (record.iconId == ICON_TRAY_ONLINE) picture = Picture::TrayOnline;
        if (record.iconId == ICON_TRAY_OFFLINE) picture = Picture::TrayOffline;
        return icon_.SetIcon(PictureBundle(picture), ToWx(record.tip));
    }

    void TrackPopupMenu(const MenuItem&, int, TrayOwner&) override {}

private:
    wxTaskBarIcon icon_;
};

}  // namespace

std::unique_ptr<TrayBackend> NewInterimTaskBarTray() { return std::make_unique<InterimTaskBarTray>(); }

}  // namespace vigilon::app
