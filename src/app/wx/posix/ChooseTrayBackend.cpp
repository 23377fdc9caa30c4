#include "ChooseTrayBackend.h"

#include <cstdio>
#include <string>

#include "AppIndicatorLibrary.h"
#include "AppIndicatorTray.h"
#include "SessionBus.h"
#include "WxTaskBarTray.h"

namespace vigilon::app {

std::unique_ptr<TrayBackend> ChooseTrayBackend() {
    if (StatusNotifierHostPresent()) {
        std::string why;
        if (AppIndicatorLibrary(&why) != nullptr) return std::make_unique<AppIndicatorTray>();
        // The XEmbed icon still shows where the desktop keeps a tray for it.
        std::fprintf(
            stderr,
            "vigilon: the StatusNotifierItem tray cannot be used (%s); using the XEmbed tray\n",
            why.c_str());
    }
    return std::make_unique<WxTaskBarTray>();
}

}  // namespace vigilon::app
