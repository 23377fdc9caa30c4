// Vigilon's window against a minimal wx dialog program built with the same
// flags, on a private display with a window manager and a tray: the time
// from exec to the window shown (median of kStarts), the peak resident set,
// and the CPU used over kIdleSeconds of monitoring 127.0.0.1 every second.
// Fails when an aim is missed: start-up at most 1.25x, peak RSS at most
// 1.1x, idle CPU under 0.15% of one core.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GuiSession.h"
#include "MonitorSettings.h"
#include "SettingsCodec.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kStarts = 5;
constexpr int kIdleSeconds = 60;
constexpr double kStartTarget = 1.25, kRssTarget = 1.1, kIdleCpuTarget = 0.15;

struct Program {
    std::string name;
    std::string path;
    std::string title;  // the shown window's title starts with it
};

// A top-level window of pid's that is viewable and carries the title.
bool WindowShown(::Display* x, Window window, const std::string& title) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(x, window, &attributes) && attributes.map_state == IsViewable) {
        char* name = nullptr;
        if (XFetchName(x, window, &name) && name != nullptr) {
            const bool match = std::string(name).rfind(title, 0) == 0;
            XFree(name);
            if (match) return true;
        }
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, window, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = WindowShown(x, children[i], title);
    if (children != nullptr) XFree(children);
    return found;
}

// A window may go between listing it and asking about it (a start-up
// window, a program being stopped): Xlib's default handler would end the
// benchmark for that.
int IgnoreVanishedWindow(::Display*, XErrorEvent*) { return 0; }

pid_t Start(const Program& program, const fs::path& folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        freopen("/dev/null", "w", stderr);
        execl(program.path.c_str(), program.path.c_str(), nullptr);
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

// Milliseconds until the window shows, or nothing within 20 s.
std::optional<double> TimeToWindow(::Display* x, const Program& program, pid_t pid,
                                   Clock::time_point started) {
    while (Clock::now() - started < std::chrono::seconds(20)) {
        if (WindowShown(x, DefaultRootWindow(x), program.title))
            return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

long CpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

long PeakRssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

fs::path SettingsFolder() {
    fs::path folder =
        fs::temp_directory_path() / ("vigilon-window-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    vigilon::MonitorSettings settings = vigilon::FirstRunSettings();
    settings.targetAddress = "127.0.0.1";
    settings.controlAddress = "127.0.0.1";
    settings.pingFrequency = 1;  // used as stored: one cycle a second
    settings.emailEnabled = 0;
    const std::vector<std::uint8_t> bytes = vigilon::EncodeSettings(settings);
    std::ofstream(folder / "Vigilon.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return folder;
}

}  // namespace

int main() {
    vigilon::test::GuiSession session({.windowManager = true, .trayHost = true});
    if (!session.Error().empty()) {
        std::fprintf(stderr, "no display: %s\n", session.Error().c_str());
        return 2;
    }
    XSetErrorHandler(IgnoreVanishedWindow);
    ::Display* x = XOpenDisplay(session.Display().c_str());
    const fs::path folder = SettingsFolder();
    const Program programs[2] = {{"vigilon", VIGILON_PROGRAM, "Vigilon"},
                                 {"minimal wx dialog", MINIMAL_PROGRAM, "Minimal"}};

    double startMs[2] = {}, rssKiB[2] = {}, idleCpu[2] = {};
    for (int p = 0; p < 2; ++p) {
        std::vector<double> times;
        for (int i = 0; i < kStarts; ++i) {
            const auto started = Clock::now();
            const pid_t pid = Start(programs[p], folder);
            const std::optional<double> ms = TimeToWindow(x, programs[p], pid, started);
            Stop(pid);
            if (!ms) {
                std::fprintf(stderr, "%s showed no window\n", programs[p].name.c_str());
                fs::remove_all(folder);
                return 2;
            }
            times.push_back(*ms);
        }
        startMs[p] = Median(times);
    }

    // Both run side by side through the same minute.
    pid_t pids[2];
    for (int p = 0; p < 2; ++p) {
        pids[p] = Start(programs[p], folder);
        TimeToWindow(x, programs[p], pids[p], Clock::now());
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    long before[2] = {CpuTicks(pids[0]), CpuTicks(pids[1])};
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    for (int p = 0; p < 2; ++p) {
        idleCpu[p] = 100.0 * (CpuTicks(pids[p]) - before[p]) / ticksPerSecond / kIdleSeconds;
        rssKiB[p] = static_cast<double>(PeakRssKiB(pids[p]));
        Stop(pids[p]);
    }
    XCloseDisplay(x);
    fs::remove_all(folder);

    const double startRatio = startMs[0] / startMs[1], rssRatio = rssKiB[0] / rssKiB[1];
    std::printf("%-22s %12s %12s %10s\n", "", "vigilon", "minimal", "ratio");
    const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    std::printf("%-22s %10.1f ms %9.1f ms %9.2fx  (aim <= %.2fx) %s\n", "exec to window shown",
                startMs[0], startMs[1], startRatio, kStartTarget,
                verdict(startRatio <= kStartTarget));
    std::printf("%-22s %9.0f KiB %8.0f KiB %9.2fx  (aim <= %.2fx) %s\n", "peak RSS", rssKiB[0],
                rssKiB[1], rssRatio, kRssTarget, verdict(rssRatio <= kRssTarget));
    std::printf("%-22s %11.3f %% %10.3f %%             (aim < %.2f%% of a core) %s\n",
                "CPU monitoring 60 s", idleCpu[0], idleCpu[1], kIdleCpuTarget,
                verdict(idleCpu[0] < kIdleCpuTarget));
    const bool met =
        startRatio <= kStartTarget && rssRatio <= kRssTarget && idleCpu[0] < kIdleCpuTarget;
    if (!met) std::printf("MISSED a target\n");
    return met ? 0 : 1;
}
