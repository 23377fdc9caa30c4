#include "DesktopShellServices.h"

#include "CAboutBox.h"
#include "HelpBook.h"
#include "HtmlHelpLoad.h"
#include "ProgramFolders.h"
#include "SimplePing.h"

namespace vigilon::app {

DesktopShellServices::DesktopShellServices(wxWindow* owner, ProgramLauncher& launcher,
                                           UserPrompt& prompt,
                                           const std::filesystem::path& helpFolder)
    : owner_(owner),
      launcher_(launcher),
      help_(prompt,
            helpFolder.empty() ? HelpBookFolders() : std::vector<std::filesystem::path>{helpFolder},
            HtmlHelpModuleFile(helpFolder.empty() ? ExecutableFolder() : helpFolder)) {}

void DesktopShellServices::ShowAbout() { ShowAboutBox(owner_, launcher_); }

void DesktopShellServices::LaunchSimplePing() { vigilon::app::LaunchSimplePing(launcher_); }

}  // namespace vigilon::app
