#pragma once

// Interim stand-ins for pieces built elsewhere, each replaced when that
// piece is merged (see VigilonProgram.cpp, where they are plugged in):
//   InterimSettingsEditing  -> the settings dialog's EditSettings
//   InterimShellServices    -> the About box, the help viewer, Simple Ping
//   InterimTaskBarTray      -> WxTaskBarTray, the tray backend with its menu

#include <memory>

#include "MonitorEngine.h"
#include "ProgramLauncher.h"
#include "SettingsEditing.h"
#include "ShellPorts.h"
#include "TrayBackend.h"

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

// Launches the companion tool; About and help show nothing yet.
class InterimShellServices : public ShellServices {
public:
    explicit InterimShellServices(ProgramLauncher& launcher) : launcher_(launcher) {}
    void ShowAbout() override {}
    void OpenHelp() override {}
    void LaunchSimplePing() override { launcher_.Launch({"ravelin"}); }

private:
    ProgramLauncher& launcher_;
};

// The icon and tooltip in a wx tray; mouse actions and the menu come with
// the real backend.
std::unique_ptr<TrayBackend> NewInterimTaskBarTray();

}  // namespace vigilon::app
