#pragma once

#include "CSettingsDlg.h"

namespace vigilon::app {

// The settings edit's dialogs: a fresh CSettingsDlg for every edit, with no
// parent of its own (the toolkit places it over the active window).
class WxSettingsDialogs : public SettingsDialogFactory {
public:
    explicit WxSettingsDialogs(const SettingsDialogServices& services) : services_(services) {}

    std::unique_ptr<SettingsDialog> NewSettingsDialog() override {
        return std::make_unique<CSettingsDlg>(nullptr, services_);
    }

private:
    SettingsDialogServices services_;
};

}  // namespace vigilon::app
