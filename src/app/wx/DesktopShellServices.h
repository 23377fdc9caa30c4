#pragma once

#include <wx/window.h>

#include "HelpViewer.h"
#include "ProgramLauncher.h"
#include "ShellPorts.h"

namespace vigilon::app {

// The About box, the help book and the companion ping tool, as the desktop
// offers them to the main window.
class DesktopShellServices : public ShellServices {
public:
    DesktopShellServices(wxWindow* owner, ProgramLauncher& launcher)
        : owner_(owner), launcher_(launcher) {}

    void ShowAbout() override;
    void OpenHelp() override { help_.OpenHelp(); }
    void LaunchSimplePing() override;

private:
    wxWindow* owner_;
    ProgramLauncher& launcher_;
    HelpViewer help_;
};

}  // namespace vigilon::app
