#pragma once

#include <wx/window.h>

#include <filesystem>

#include "HelpViewer.h"
#include "ProgramLauncher.h"
#include "ShellPorts.h"

namespace vigilon::app {

// The About box, the help book and the companion ping tool, as the desktop
// offers them to the main window. helpFolder: where the help book and its
// viewer are; empty for where the installation keeps them.
class DesktopShellServices : public ShellServices {
public:
    DesktopShellServices(wxWindow* owner, ProgramLauncher& launcher, UserPrompt& prompt,
                         const std::filesystem::path& helpFolder = {});

    void ShowAbout() override;
    void OpenHelp() override { help_.OpenHelp(); }
    void LaunchSimplePing() override;

private:
    wxWindow* owner_;
    ProgramLauncher& launcher_;
    HelpViewer help_;
};

}  // namespace vigilon::app
