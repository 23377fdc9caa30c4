// How fast Vigilon's window answers a window manager's ping (_NET_WM_PING,
// every 200 ms) while it monitors through faults, each in a fresh run of its
// own in the namespace world of the end-to-end test (WatchWorld): idle, a
// name server that never answers, the link to the target down, a mail
// server that takes the connection and never speaks, a notification service
// that never replies. The minimal wx dialog program (MinimalDialogApp) runs
// beside it all the while and is pinged the same way: the reference.
// Then the CPU of each of the program's threads and its memory over 60 s of
// monitoring 127.0.0.1 every second, against the minimal program's.
// Fails when it cannot measure, when a window left a ping unanswered for
// 3 s, or when the threads beside the window's (the engine's worker, the
// outbox, the lookups, GLib's) use 0.2 % of a core or more while idle. The
// window's own thread is window_bench's to judge.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "GuiSession.h"
#include "LogFollower.h"
#include "LogLine.h"
#include "PeerProcess.h"
#include "StalledSmtpServer.h"
#include "WatchWorld.h"
#include "WindowAnswers.h"
#include "XWindowState.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using vigilon::test::ChildProcess;
using vigilon::test::LogFollower;
using vigilon::test::WatchWorld;
using vigilon::test::WindowAnswers;

constexpr auto kPingEvery = 200ms;
constexpr auto kNoAnswer = 3s;
constexpr int kIdleSeconds = 60;
constexpr double kIdleCpuTarget = 0.2;  // % of one core
const std::string kMainTitle = "Vigilon - ON";
const std::string kMinimalTitle = "Minimal";

// A fault: what is set up before the program starts, what happens while it
// runs (called at every ping round with the log read so far), and how long
// the window is pinged.
struct Fault {
    std::string name;
    std::function<void(vigilon::MonitorSettings&)> configure;
    std::function<bool()> before = [] { return true; };
    std::function<void(const LogFollower&)> during = [](const LogFollower&) {};
    std::function<void()> after = [] {};
    std::chrono::seconds length{20};
};

struct Figures {
    double median = 0, worst = 0;
    std::size_t pings = 0;
    int unanswered = 0;
};

Figures FiguresOf(const WindowAnswers& answers) {
    return {answers.Median(), answers.Worst(), answers.Millis().size(), answers.Unanswered()};
}

bool WaitForWindow(pid_t pid, const std::string& title) {
    const auto giveUp = Clock::now() + 30s;
    while (Clock::now() < giveUp) {
        if (vigilon::test::StateOfWindowTitled(pid, title) == vigilon::test::XWindowState::Normal)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Ends the program through its close box, as its user would.
void Close(ChildProcess& program) {
    if (vigilon::test::CloseWindowTitled(program.Pid(), kMainTitle)) program.Wait(10s);
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("vigilon-fault-bench-" + std::to_string(getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

vigilon::MonitorSettings QuietSettings() {
    vigilon::MonitorSettings settings = vigilon::FirstRunSettings();
    settings.targetAddress = WatchWorld::kTargetIp;
    settings.controlAddress = WatchWorld::kServicesIp;
    settings.pingFrequency = 1;  // used as stored: a cycle a second
    settings.timeoutsBeforeEmail = 1000;
    settings.mailFrom = "vigilon@example.org";
    settings.mailTo = "desk@example.org";
    settings.smtpServer1 = WatchWorld::kServicesIp;
    settings.emailEnabled = 0;
    settings.logEnabled = 1;
    return settings;
}

bool IsTimeoutLine(const std::string& line) {
    return line.find(" :: ") != std::string::npos && !line.starts_with("*****");
}

// An outage brief enough to raise an alert (its mail, its notice) and a
// recovery: the link, taken down before the start, comes back once the
// first time-out is logged.
std::function<void(const LogFollower&)> LinkBackAtFirstTimeout(WatchWorld& world) {
    return [&world, back = false](const LogFollower& log) mutable {
        if (!back && !log.Matching(IsTimeoutLine).empty()) back = world.SetTargetLink(true);
    };
}

// The program through one fault, both windows pinged at every round.
std::optional<std::pair<Figures, Figures>> Measure(const WatchWorld& world, const Fault& fault,
                                                   pid_t minimalPid) {
    const fs::path folder = FreshFolder(fault.name.substr(0, fault.name.find(' ')));
    vigilon::MonitorSettings settings = QuietSettings();
    fault.configure(settings);
    if (!vigilon::test::StoreSettingsIn(folder, settings) || !fault.before()) return std::nullopt;
    ChildProcess program(world.CommandInWatcher(VIGILON_PROGRAM, folder.string()), folder.string(),
                         {{"TZ", "UTC0"}}, (folder / "program").string());
    std::optional<std::pair<Figures, Figures>> figures;
    if (WaitForWindow(program.Pid(), kMainTitle)) {
        WindowAnswers vigilonAnswers(program.Pid(), kMainTitle),
            minimalAnswers(minimalPid, kMinimalTitle);
        LogFollower log((folder / vigilon::kLogFileName).string());
        const auto end = Clock::now() + fault.length;
        while (Clock::now() < end && program.Running()) {
            const auto round = Clock::now();
            vigilonAnswers.Ping(kNoAnswer);
            minimalAnswers.Ping(kNoAnswer);
            log.Poll();
            fault.during(log);
            std::this_thread::sleep_until(round + kPingEvery);
        }
        if (program.Running())
            figures = std::make_pair(FiguresOf(vigilonAnswers), FiguresOf(minimalAnswers));
    }
    if (!figures)
        std::fprintf(stderr, "%s: the program did not run through: %s\n", fault.name.c_str(),
                     program.Errors().c_str());
    Close(program);
    fault.after();
    return figures;
}

// Clock ticks used so far by each live thread of pid, by thread id, with
// each thread's name.
struct ThreadTicks {
    std::string name;
    long ticks = 0;
};

std::map<int, ThreadTicks> TicksByThread(pid_t pid) {
    std::map<int, ThreadTicks> threads;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code gone;
    for (const auto& task : fs::directory_iterator(tasks, gone)) {
        std::ifstream stat(task.path() / "stat");
        const std::string text((std::istreambuf_iterator<char>(stat)),
                               std::istreambuf_iterator<char>());
        const std::size_t open = text.find('('), close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14) utime = std::stol(field);
            if (i == 15) stime = std::stol(field);
        }
        threads[std::stoi(task.path().filename().string())] = {
            text.substr(open + 1, close - open - 1), utime + stime};
    }
    return threads;
}

long ProcessTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)),
                           std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

long StatusKiB(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(key + ":")) return std::stol(line.substr(key.size() + 1));
    return -1;
}

double PercentOfCore(long ticks, int seconds) {
    return 100.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
}

// The program and a fresh reference side by side for kIdleSeconds, the
// program monitoring 127.0.0.1 every second; false when it could not be
// measured or missed its target. Fresh, because a first start of a toolkit
// program on a display can hold twice the memory of later ones.
bool MeasureIdle() {
    const fs::path folder = FreshFolder("idle-cpu");
    ChildProcess minimal({MINIMAL_PROGRAM}, folder.string(), {}, (folder / "minimal").string());
    const pid_t minimalPid = minimal.Pid();
    vigilon::MonitorSettings settings = QuietSettings();
    settings.targetAddress = settings.controlAddress = "127.0.0.1";
    if (!vigilon::test::StoreSettingsIn(folder, settings)) return false;
    ChildProcess program({VIGILON_PROGRAM, "--data-dir", folder.string()}, folder.string(), {},
                         (folder / "program").string());
    if (!WaitForWindow(program.Pid(), kMainTitle) || !WaitForWindow(minimalPid, kMinimalTitle)) {
        std::fprintf(stderr, "idle: no window: %s\n", program.Errors().c_str());
        return false;
    }
    std::this_thread::sleep_for(3s);  // past the start-up
    const std::map<int, ThreadTicks> before = TicksByThread(program.Pid());
    const long programBefore = ProcessTicks(program.Pid()),
               minimalBefore = ProcessTicks(minimalPid);
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    const std::map<int, ThreadTicks> after = TicksByThread(program.Pid());
    const double programCpu =
        PercentOfCore(ProcessTicks(program.Pid()) - programBefore, kIdleSeconds);
    const double minimalCpu = PercentOfCore(ProcessTicks(minimalPid) - minimalBefore, kIdleSeconds);
    const long rss[2] = {StatusKiB(program.Pid(), "VmRSS"), StatusKiB(minimalPid, "VmRSS")};
    const long peak[2] = {StatusKiB(program.Pid(), "VmHWM"), StatusKiB(minimalPid, "VmHWM")};
    const bool ran = program.Running();
    Close(program);

    std::printf("\nmonitoring 127.0.0.1 every second for %d s  %12s %12s\n", kIdleSeconds,
                "vigilon", "minimal");
    std::printf("  CPU of the process                     %10.3f %% %10.3f %%\n", programCpu,
                minimalCpu);
    std::printf("  resident set now                       %8ld KiB %8ld KiB\n", rss[0], rss[1]);
    std::printf("  resident set at its peak               %8ld KiB %8ld KiB\n", peak[0], peak[1]);
    std::printf("  by thread (live through the minute):\n");
    long threadsTotal = 0, windowThread = 0;
    for (const auto& [id, thread] : after) {
        const auto earlier = before.find(id);
        const long used = thread.ticks - (earlier != before.end() ? earlier->second.ticks : 0);
        threadsTotal += used;
        if (id == program.Pid()) windowThread = used;
        std::printf("    %-16s tid %-7d %8.3f %%%s\n", thread.name.c_str(), id,
                    PercentOfCore(used, kIdleSeconds),
                    earlier == before.end() ? "  (started meanwhile)" : "");
    }
    // The process's count keeps what threads that ended had used.
    std::printf("    %-28s %8.3f %%\n", "ended threads, and rounding",
                std::max(0.0, programCpu - PercentOfCore(threadsTotal, kIdleSeconds)));
    const double besideCpu = std::max(0.0, programCpu - PercentOfCore(windowThread, kIdleSeconds));
    std::printf("  threads beside the window's             %10.3f %%   (aim < %.1f %% of a core)\n",
                besideCpu, kIdleCpuTarget);
    if (!ran) {
        std::fprintf(stderr, "idle: the program ended: %s\n", program.Errors().c_str());
        return false;
    }
    return besideCpu < kIdleCpuTarget;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as it comes, through a pipe too
    vigilon::test::GuiSession session(
        {.windowManager = true, .trayHost = true, .sessionBus = true});
    if (!session.Error().empty()) {
        std::fprintf(stderr, "no display: %s\n", session.Error().c_str());
        return 2;
    }
    WatchWorld world;
    if (!world.Error().empty()) {
        std::fprintf(stderr, "no namespace world: %s\n", world.Error().c_str());
        return 2;
    }
    const fs::path scratch = FreshFolder("minimal");
    ChildProcess minimal({MINIMAL_PROGRAM}, scratch.string(), {}, (scratch / "minimal").string());
    if (!WaitForWindow(minimal.Pid(), kMinimalTitle)) {
        std::fprintf(stderr, "the minimal program showed no window\n");
        return 2;
    }

    std::unique_ptr<vigilon::test::StalledSmtpServer> stalledServer;
    std::unique_ptr<vigilon::test::PeerProcess> hungNotices;
    const std::vector<Fault> faults = {
        {.name = "idle", .configure = [](vigilon::MonitorSettings&) {}},
        {.name = "silent name server (lookups bounded at 10 s)",
         .configure =
             [](vigilon::MonitorSettings& s) { s.targetAddress = WatchWorld::kTargetName; },
         .before = [&world] { return world.StartSilentNameServer(); },
         .after = [&world] { world.StopSilentNameServer(); },
         .length = 32s},
        {.name = "link to the target down",
         .configure = [](vigilon::MonitorSettings&) {},
         .before = [&world] { return world.SetTargetLink(false); },
         .after = [&world] { world.SetTargetLink(true); }},
        {.name = "stalled mail server (alert and recovery mails)",
         .configure =
             [](vigilon::MonitorSettings& s) {
                 s.timeoutsBeforeEmail = 1;
                 s.emailEnabled = 1;
             },
         .before =
             [&] {
                 stalledServer = std::make_unique<vigilon::test::StalledSmtpServer>(
                     world.Services(), WatchWorld::kServicesIp);
                 return stalledServer->Ok() && world.SetTargetLink(false);
             },
         .during = LinkBackAtFirstTimeout(world),
         .after =
             [&] {
                 world.SetTargetLink(true);
                 stalledServer.reset();
             },
         .length = 25s},
        {.name = "hung notification service (alert and recovery notices)",
         .configure = [](vigilon::MonitorSettings& s) { s.timeoutsBeforeEmail = 1; },
         .before =
             [&] {
                 hungNotices = std::make_unique<vigilon::test::PeerProcess>(
                     "notification_service.py", std::vector<std::string>{"--silent"});
                 return hungNotices->Ready() && world.SetTargetLink(false);
             },
         .during = LinkBackAtFirstTimeout(world),
         .after =
             [&] {
                 world.SetTargetLink(true);
                 hungNotices.reset();
             }},
    };

    std::printf("_NET_WM_PING answers every %lld ms, each fault in a run of its own\n",
                static_cast<long long>(kPingEvery.count()));
    std::printf("%-56s %24s %24s\n", "", "vigilon median / worst", "minimal median / worst");
    bool met = true;
    for (const Fault& fault : faults) {
        const auto figures = Measure(world, fault, minimal.Pid());
        if (!figures) {
            met = false;
            continue;
        }
        const auto& [program, reference] = *figures;
        std::printf("%-56s %8.2f / %8.2f ms %8.2f / %8.2f ms  (%zu pings)\n", fault.name.c_str(),
                    program.median, program.worst, reference.median, reference.worst,
                    program.pings);
        if (program.unanswered + reference.unanswered > 0) {
            std::printf(
                "  %d pings of the program's and %d of the minimal one's went unanswered for %lld "
                "s\n",
                program.unanswered, reference.unanswered,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::seconds>(kNoAnswer).count()));
            met = false;
        }
    }
    if (!MeasureIdle()) met = false;
    fs::remove_all(scratch.parent_path());
    if (!met) std::printf("MISSED a target\n");
    return met ? 0 : 1;
}
