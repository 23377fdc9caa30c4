#include "ChooseTrayBackend.h"

#include "AppIndicatorTray.h"
#include "SessionBus.h"
#include "WxTaskBarTray.h"

namespace vigilon::app {

std::unique_ptr<TrayBackend> ChooseTrayBackend() {
    if (StatusNotifierHostPresent()) return std::make_unique<AppIndicatorTray>();
    return std::make_unique<WxTaskBarTray>();
}

}  // namespace vigilon::app
