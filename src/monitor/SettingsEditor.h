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

    // What the dialog shows for a record: the record itself, or the values
    // of a first run while no target is set; an empty control host shows
    // the default one.
    static MonitorSettings DialogValues(const MonitorSettings& record);

private:
    MonitorEngine& engine_;
    SettingsDialogFactory& dialogs_;
    SettingsSaver& saver_;
};

}  // namespace vigilon
