#include "ChooseTrayBackend.h"

#include "WxTaskBarTray.h"

namespace vigilon::app {

// wx's tray icon is Windows' own notification-area icon.
std::unique_ptr<TrayBackend> ChooseTrayBackend() { return std::make_unique<WxTaskBarTray>(); }

}  // namespace vigilon::app
