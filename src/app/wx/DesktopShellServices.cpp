#include "DesktopShellServices.h"

#include "CAboutBox.h"
#include "SimplePing.h"

namespace vigilon::app {

void DesktopShellServices::ShowAbout() { ShowAboutBox(owner_, launcher_); }

void DesktopShellServices::LaunchSimplePing() { vigilon::app::LaunchSimplePing(launcher_); }

}  // namespace vigilon::app
