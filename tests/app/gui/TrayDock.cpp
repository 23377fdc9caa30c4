#include "TrayDock.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>

#include "GuiSession.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

extern char** environ;

namespace vigilon::test {

namespace {

std::optional<ScreenRect> DockedIcon(::Display* x, Window window) {
    const Window rootWindow = DefaultRootWindow(x);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, window != 0 ? window : rootWindow, &root, &parent, &children, &count))
        return {};
    std::optional<ScreenRect> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(x, children[i], XInternAtom(x, "_XEMBED_INFO", False), 0, 2, False,
                           AnyPropertyType, &type, &format, &items, &after, &data);
        if (data != nullptr) XFree(data);
        XWindowAttributes attributes;
        if (window == 0 || type == 0 || !XGetWindowAttributes(x, children[i], &attributes) ||
            attributes.map_state != IsViewable) {
            found = DockedIcon(x, children[i]);
            continue;
        }
        ScreenRect rect{0, 0, attributes.width, attributes.height};
        Window child = 0;
        XTranslateCoordinates(x, children[i], rootWindow, 0, 0, &rect.x, &rect.y, &child);
        found = rect;
    }
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

std::optional<ScreenRect> DockedTrayIcon() {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return {};
    std::optional<ScreenRect> found = DockedIcon(x, 0);
    XCloseDisplay(x);
    return found;
}

bool RunXdotool(std::vector<std::string> argv) {
    std::vector<char*> args;
    for (std::string& argument : argv)
        args.push_back(argument.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, args.data(), environ) != 0) return false;
    int status = -1;
    if (!PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; },
                   std::chrono::seconds(20))) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> ClickAt(const ScreenRect& rect, const char* button, int repeat) {
    return {"xdotool",
            "mousemove",
            std::to_string(rect.x + rect.width / 2),
            std::to_string(rect.y + rect.height / 2),
            "sleep",
            "0.2",
            "click",
            "--repeat",
            std::to_string(repeat),
            "--delay",
            "80",
            button};
}

}  // namespace vigilon::test
