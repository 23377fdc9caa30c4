#include "GuiSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vigilon::test {

namespace {

// Reads the first line a server writes to fd once it listens (Xvfb's display
// number, dbus-daemon's address).
std::string ReadFirstLine(int fd, std::chrono::milliseconds limit) {
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
    const std::string number = xvfb > 0 ? ReadFirstLine(pipeFds[0], std::chrono::seconds(10)) : "";
    close(pipeFds[0]);
    if (number.empty()) {
        error_ = "Xvfb did not start (is the xvfb package installed?)";
        return;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    // No session bus of the desktop's: a private one, or none at all.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    if (options.sessionBus && !StartSessionBus()) error_ = "dbus-daemon did not start";
    setenv("GTK_A11Y", "none", 1);
    setenv("NO_AT_BRIDGE", "1", 1);

    if (options.windowManager && error_.empty()) {
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
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t parent = getpid();
    (void)keepFd;  // inherited: only our own pipes lack O_CLOEXEC
    const pid_t pid = fork();
    if (pid == 0) {
        // The peer goes with this test process even when the test crashes
        // and never reaches StopAll. Only async-signal-safe calls up to exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(devNull);
    if (pid > 0) children_.push_back(pid);
    return pid;
}

// A session bus with the usual session policy but no service folders, so
// that no service of the machine's starts on it by activation.
bool GuiSession::StartSessionBus() {
    char folder[] = "/tmp/vigilon-bus-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    busFolder_ = folder;
    const std::string config = busFolder_ + "/session.conf";
    {
        std::ofstream file(config);
        file << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                "1.0//EN\"\n"
                " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                "<busconfig>\n  <type>session</type>\n  <listen>unix:dir="
             << busFolder_
             << "</listen>\n  <auth>EXTERNAL</auth>\n"
                "  <policy context=\"default\">\n    <allow send_destination=\"*\" "
                "eavesdrop=\"true\"/>\n"
                "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  "
                "</policy>\n</busconfig>\n";
        if (!file) return false;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    const pid_t bus = Spawn({"dbus-daemon", "--config-file=" + config, "--nofork",
                             "--print-address=" + std::to_string(pipeFds[1])},
                            pipeFds[1]);
    close(pipeFds[1]);
    const std::string address = bus > 0 ? ReadFirstLine(pipeFds[0], std::chrono::seconds(10)) : "";
    close(pipeFds[0]);
    if (address.empty()) return false;
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    return true;
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
    if (!busFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(busFolder_, ignored);
        busFolder_.clear();
    }
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
            while (loop->Pending())
                loop->Dispatch();
            // As GTK's idle handler does: queued events (CallAfter, wxPostEvent)
            // first, then the idle event.
            if (wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
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
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
    int dark = 0;
    for (int row = 0; image != nullptr && row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const unsigned long sum =
                ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
            dark += sum < 3 * 100;
        }
    }
    if (image != nullptr) XDestroyImage(image);
    XCloseDisplay(display);
    return dark;
}

}  // namespace vigilon::test
