#pragma once

#include "MonitorEngine.h"
#include "SettingsEditPorts.h"
#include "SettingsEditing.h"

namespace vigilon {

// The main window's settings edit: pauses the run, shows the record (or the
// values of a first run) in the settings dialog, and applies what the dialog
// returns, however it was closed, before saving the file. Only the dialog's
// Cancel button on an empty target ends the program instead.
class SettingsEditor : public SettingsEditing {
public:
    SettingsEditor(MonitorEngine& engine, SettingsDialogFactory& dialogs, SettingsSaver& saver)
        : engine_(engine), dialogs_(dialogs), saver_(saver) {}

    EditOutcome EditSettings() override;

private:
    MonitorEngine& engine_;
    SettingsDialogFactory& dialogs_;
    SettingsSaver& saver_;
};

}  // namespace vigilon
