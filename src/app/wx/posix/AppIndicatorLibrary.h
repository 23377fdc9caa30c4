#pragma once

#include <libayatana-appindicator/app-indicator.h>

#include <string>

namespace vigilon::app {

// The libayatana-appindicator functions the StatusNotifierItem tray uses.
// The library is loaded when that tray is first chosen, not at start: with
// the dbusmenu and indicator libraries it brings, it would weigh on every
// start on a desktop whose tray is XEmbed's.
struct AppIndicatorFunctions {
    AppIndicator* (*newWithPath)(const gchar*, const gchar*, AppIndicatorCategory, const gchar*);
    void (*setStatus)(AppIndicator*, AppIndicatorStatus);
    void (*setIconFull)(AppIndicator*, const gchar*, const gchar*);
    void (*setTitle)(AppIndicator*, const gchar*);
    void (*setMenu)(AppIndicator*, GtkMenu*);
    void (*setSecondaryActivateTarget)(AppIndicator*, GtkWidget*);
};

// The library, loaded once; nullptr when it cannot be, and then why is in error.
const AppIndicatorFunctions* AppIndicatorLibrary(std::string* error = nullptr);

}  // namespace vigilon::app
