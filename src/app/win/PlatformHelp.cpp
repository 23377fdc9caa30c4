#include "CommandLine.h"

namespace vigilon::app {

// No headless run and no HTTP endpoint on Windows: the window watches, from
// the tray when minimised, and the metrics go to a file.
PlatformHelp ThisPlatformHelp() {
    return {"",
            "      --user-data     use your own folder, %LOCALAPPDATA%\\Vigilon\n"
            "                      (the Start menu starts Vigilon this way)\n",
            "", ""};
}

}  // namespace vigilon::app
