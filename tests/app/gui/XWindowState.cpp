#include "XWindowState.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <poll.h>

#include <vector>

namespace vigilon::test {

namespace {

// A window property's items: 32-bit ones as longs, 8-bit ones as characters.
template <typename Item>
std::vector<Item> Property(::Display* x, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Item> items;
    if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 1024, False, type,
                           &actualType, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 8 * static_cast<int>(sizeof(Item)) ||
            (format == 32 && sizeof(Item) == sizeof(long)))
            items.assign(reinterpret_cast<Item*>(data), reinterpret_cast<Item*>(data) + count);
        XFree(data);
    }
    return items;
}

// A client window with that process id and title.
bool IsClient(::Display* x, Window client, pid_t pid, const std::string& title) {
    const auto owner = Property<unsigned long>(x, client, "_NET_WM_PID", XA_CARDINAL);
    const auto name =
        Property<char>(x, client, "_NET_WM_NAME", XInternAtom(x, "UTF8_STRING", False));
    return !owner.empty() && owner[0] == static_cast<unsigned long>(pid) &&
           std::string(name.begin(), name.end()) == title;
}

// The client window the manager lists in _NET_CLIENT_LIST (a withdrawn
// window leaves it) with that process id and title; None when there is none.
Window FindClient(::Display* x, pid_t pid, const std::string& title) {
    for (unsigned long client :
         Property<unsigned long>(x, DefaultRootWindow(x), "_NET_CLIENT_LIST", XA_WINDOW))
        if (IsClient(x, client, pid, title)) return client;
    return None;
}

}  // namespace

XWindowState StateOfWindowTitled(const std::string& title) {
    return StateOfWindowTitled(::getpid(), title);
}

// The manager keeps each client's WM_STATE.
XWindowState StateOfWindowTitled(pid_t pid, const std::string& title) {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return XWindowState::NotManaged;
    XWindowState state = XWindowState::NotManaged;
    if (const Window client = FindClient(x, pid, title); client != None) {
        const auto wmState =
            Property<unsigned long>(x, client, "WM_STATE", XInternAtom(x, "WM_STATE", False));
        if (!wmState.empty())
            state = wmState[0] == IconicState ? XWindowState::Iconic : XWindowState::Normal;
    }
    XCloseDisplay(x);
    return state;
}

int CountWindowsTitled(pid_t pid, const std::string& title) {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return 0;
    int count = 0;
    for (unsigned long client :
         Property<unsigned long>(x, DefaultRootWindow(x), "_NET_CLIENT_LIST", XA_WINDOW))
        count += IsClient(x, client, pid, title) ? 1 : 0;
    XCloseDisplay(x);
    return count;
}

std::vector<std::string> AllowedActionsOfWindowTitled(const std::string& title) {
    std::vector<std::string> names;
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return names;
    if (const Window client = FindClient(x, ::getpid(), title); client != None) {
        for (unsigned long atom :
             Property<unsigned long>(x, client, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM)) {
            char* name = XGetAtomName(x, atom);
            if (name != nullptr) names.emplace_back(name);
            if (name != nullptr) XFree(name);
        }
    }
    XCloseDisplay(x);
    return names;
}

bool CloseWindowTitled(pid_t pid, const std::string& title) {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return false;
    const Window client = FindClient(x, pid, title);
    if (client != None) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = client;
        event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x, client, False, NoEventMask, &event);
        XSync(x, False);
    }
    XCloseDisplay(x);
    return client != None;
}

// The answer goes back to the root window, where anyone listening for
// structure changes sees it; the manager keeps the redirection for itself.
std::optional<std::chrono::microseconds> PingWindowTitled(pid_t pid, const std::string& title,
                                                          std::chrono::milliseconds limit) {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) return std::nullopt;
    std::optional<std::chrono::microseconds> took;
    const Window client = FindClient(x, pid, title);
    if (client != None) {
        const Window root = DefaultRootWindow(x);
        const Atom protocols = XInternAtom(x, "WM_PROTOCOLS", False);
        const Atom ping = XInternAtom(x, "_NET_WM_PING", False);
        XSelectInput(x, root, SubstructureNotifyMask);
        static long serial = 0;
        const long stamp = ++serial;  // ours alone, so that a late answer is not taken
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = client;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping);
        event.xclient.data.l[1] = stamp;
        event.xclient.data.l[2] = static_cast<long>(client);
        const auto start = std::chrono::steady_clock::now();
        XSendEvent(x, client, False, NoEventMask, &event);
        XFlush(x);
        const auto deadline = start + limit;
        while (!took && std::chrono::steady_clock::now() < deadline) {
            while (!took && XPending(x) > 0) {
                XEvent answer;
                XNextEvent(x, &answer);
                if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
                    static_cast<Atom>(answer.xclient.data.l[0]) == ping &&
                    answer.xclient.data.l[1] == stamp)
                    took = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start);
            }
            pollfd ready{ConnectionNumber(x), POLLIN, 0};
            if (!took) poll(&ready, 1, 5);
        }
    }
    XCloseDisplay(x);
    return took;
}

}  // namespace vigilon::test
