#include "AppIndicatorLibrary.h"

#include <dlfcn.h>

namespace vigilon::app {

namespace {

// The soname the package depends on (libayatana-appindicator3-1).
constexpr const char* kLibrary = "libayatana-appindicator3.so.1";

struct Loaded {
    AppIndicatorFunctions functions{};
    std::string error;  // empty when loaded
};

template <typename Function>
void Find(void* library, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && error.empty()) error = std::string(kLibrary) + " has no " + name;
}

Loaded Load() {
    Loaded loaded;
    // Never closed: its GObject types stay registered for the process.
    void* library = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        loaded.error = why != nullptr ? why : std::string("cannot load ") + kLibrary;
        return loaded;
    }
    AppIndicatorFunctions& f = loaded.functions;
    Find(library, "app_indicator_new_with_path", f.newWithPath, loaded.error);
    Find(library, "app_indicator_set_status", f.setStatus, loaded.error);
    Find(library, "app_indicator_set_icon_full", f.setIconFull, loaded.error);
    Find(library, "app_indicator_set_title", f.setTitle, loaded.error);
    Find(library, "app_indicator_set_menu", f.setMenu, loaded.error);
    Find(library, "app_indicator_set_secondary_activate_target", f.setSecondaryActivateTarget,
         loaded.error);
    return loaded;
}

}  // namespace

// Only the window's thread chooses and drives the tray; the static's
// initialisation is thread-safe all the same.
const AppIndicatorFunctions* AppIndicatorLibrary(std::string* error) {
    static const Loaded loaded = Load();
    if (!loaded.error.empty()) {
        if (error != nullptr) *error = loaded.error;
        return nullptr;
    }
    return &loaded.functions;
}

}  // namespace vigilon::app
