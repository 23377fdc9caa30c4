#include "XWindowState.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <vector>

namespace vigilon::test {

namespace {

std::vector<unsigned long> Property(::Display* x, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 1024, False, type, &actualType,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32) values.assign(reinterpret_cast<unsigned long*>(data),
                                        reinterpret_cast<unsigned long*>(data) + count);
        XFree(data);
    }
    return values;
}

std::string Title(::Display* x, Window window) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(x, window, XInternAtom(x, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(x, "UTF8_STRING", False), &actualType, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

}  // namespace

// The window manager lists what it manages in _NET_CLIENT_LIST (a withdrawn
// window leaves it) and keeps each client's WM_STATE.
XWindowState StateOfWindowTitled(const std::string& title) {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return XWindowState::NotManaged;
    XWindowState state = XWindowState::NotManaged;
    for (unsigned long client : Property(x, DefaultRootWindow(x), "_NET_CLIENT_LIST", XA_WINDOW)) {
        const std::vector<unsigned long> pid = Property(x, client, "_NET_WM_PID", XA_CARDINAL);
        if (pid.empty() || pid[0] != static_cast<unsigned long>(::getpid()) || Title(x, client) != title)
            continue;
        const Atom wmState = XInternAtom(x, "WM_STATE", False);
        const std::vector<unsigned long> values = Property(x, client, "WM_STATE", wmState);
        if (!values.empty()) state = values[0] == IconicState ? XWindowState::Iconic : XWindowState::Normal;
    }
    XCloseDisplay(x);
    return state;
}

}  // namespace vigilon::test
