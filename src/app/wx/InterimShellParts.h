#pragma once

// Interim stand-ins for pieces built elsewhere, each replaced when that
// piece is merged (see VigilonProgram.cpp, where they are plugged in):
//   InterimSettingsEditing  -> the settings dialog's EditSettings

#include "MonitorEngine.h"
#include "SettingsEditing.h"

namespace vigilon::app {

// Without the dialog, an unconfigured record takes the first-run values
// (with the default control host); a configured one stays as it is.
class InterimSettingsEditing : public SettingsEditing {
public:
    explicit InterimSettingsEditing(MonitorEngine& engine) : engine_(engine) {}
    EditOutcome EditSettings() override;

private:
    MonitorEngine& engine_;
};

}  // namespace vigilon::app
