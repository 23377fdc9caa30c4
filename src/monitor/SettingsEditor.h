#pragma once

#include "MonitorEngine.h"
#include "SettingsEditPorts.h"
#include "SettingsEditing.h"

namespace vigilon {

// The main window's settings edit: pauses the run, shows the record (or the
// values of a first run) in the settings dialog, and applies what the dialog
// returns, however it was closed, before saving the file. Only the dialog's
// Cancel button on an empty target ends the program instead.
//
// One edit at a time: the window's commands stay usable while the dialog
// runs (the tray menu, Enable Email), and a second edit inside the first
// would be applied before it and then overwritten by it. A second request
// brings the open dialog forward instead.
class SettingsEditor : public SettingsEditing {
public:
    SettingsEditor(MonitorEngine& engine, SettingsDialogFactory& dialogs, SettingsSaver& saver)
        : engine_(engine), dialogs_(dialogs), saver_(saver) {}

    EditOutcome EditSettings(EditPurpose purpose = EditPurpose::Settings) override;
    bool EditOpen() const override { return openDialog_ != nullptr; }
    void CloseOpenEdit() override {
        if (openDialog_ != nullptr) openDialog_->Dismiss();
    }

private:
    MonitorEngine& engine_;
    SettingsDialogFactory& dialogs_;
    SettingsSaver& saver_;
    SettingsDialog* openDialog_ = nullptr;  // while its modal run goes on
};

}  // namespace vigilon
