#include "DisplayCheck.h"

namespace vigilon::app {

namespace {

bool Set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::string NoDisplayMessage(const std::string& program, const char* x11Display,
                             const char* waylandDisplay) {
    std::string where;
    if (Set(waylandDisplay)) where += std::string(" WAYLAND_DISPLAY=") + waylandDisplay;
    if (Set(x11Display)) where += std::string(" DISPLAY=") + x11Display;
    if (where.empty())
        return program +
               ": no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
    return program + ": cannot open the display (" + where.substr(1) + ")\n";
}

}  // namespace vigilon::app
