#include "GuiSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace vigilon::test {

namespace {

// Reads the display number Xvfb writes to its -displayfd once it listens.
std::string ReadDisplayNumber(int fd, std::chrono::milliseconds limit) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    fcntl(fd, F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < deadline) {
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got == 1) {
            if (c == '\n') return number;
            number += c;
        } else if (got == 0) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return {};
}

}  // namespace

GuiSession::GuiSession(Options options) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        error_ = "pipe failed";
        return;
    }
    const pid_t xvfb = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                              "1280x800x24", "-nolisten", "tcp", "-noreset"},
                             pipeFds[1]);
    close(pipeFds[1]);
    const std::string number = xvfb > 0 ? ReadDisplayNumber(pipeFds[0], std::chrono::seconds(10)) : "";
    close(pipeFds[0]);
    if (number.empty()) {
        error_ = "Xvfb did not start (is the xvfb package installed?)";
        return;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    // No session bus of the desktop's: keep GTK from looking for one.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("GTK_A11Y", "none", 1);
    setenv("NO_AT_BRIDGE", "1", 1);

    if (options.windowManager) {
        Spawn({"openbox", "--sm-disable"});
        if (!WaitForRootProperty("_NET_SUPPORTING_WM_CHECK", std::chrono::seconds(10)))
            error_ = "openbox did not start";
    }
    if (options.trayHost && error_.empty()) {
        Spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
               "120", "--height", "24", "--SetDockType", "true"});
        if (!WaitForRootProperty("_NET_SYSTEM_TRAY_S0", std::chrono::seconds(10)))
            error_ = "trayer did not start";
    }
}

GuiSession::~GuiSession() { StopAll(); }

pid_t GuiSession::Spawn(const std::vector<std::string>& argv, int keepFd) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, devNull, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, devNull, STDERR_FILENO);
    (void)keepFd;  // inherited: only our own pipes lack O_CLOEXEC
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(devNull);
    if (pid > 0) children_.push_back(pid);
    return pid;
}

// A selection owner (the tray) or a root-window property (the window
// manager's check window) tells that the peer is ready.
bool GuiSession::WaitForRootProperty(const std::string& property, std::chrono::milliseconds limit) {
    ::Display* x = XOpenDisplay(display_.c_str());
    if (x == nullptr) return false;
    const Atom atom = XInternAtom(x, property.c_str(), False);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool ready = false;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
        if (XGetSelectionOwner(x, atom) != None) {
            ready = true;
            break;
        }
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(x, DefaultRootWindow(x), atom, 0, 1, False, AnyPropertyType, &type,
                               &format, &items, &after, &data) == Success) {
            ready = type != None;
            if (data != nullptr) XFree(data);
        }
        if (!ready) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(x);
    return ready;
}

void GuiSession::StopAll() {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        kill(*it, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(*it, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waitpid(*it, &status, WNOHANG) == 0) {
            kill(*it, SIGKILL);
            waitpid(*it, &status, 0);
        }
    }
    children_.clear();
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        PumpFor(std::chrono::milliseconds(10));
    }
    return true;
}

void PumpFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    do {
        if (loop != nullptr) {
            while (loop->Pending()) loop->Dispatch();
            loop->ProcessIdle();
        } else if (wxTheApp != nullptr) {
            wxTheApp->Yield(true);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
}

int CountDarkPixels(int x, int y, int width, int height) {
    ::Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return -1;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes,
                              ZPixmap);
    int dark = 0;
    for (int row = 0; image != nullptr && row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const unsigned long sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
            dark += sum < 3 * 100;
        }
    }
    if (image != nullptr) XDestroyImage(image);
    XCloseDisplay(display);
    return dark;
}

}  // namespace vigilon::test
