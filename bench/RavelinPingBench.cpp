// Ravelin's pinging against iputils ping on the same veth neighbour, in the
// same run, over IPv4 and then over IPv6 (ping -6): the median round trip
// each reports over kProbes answers (they should agree within kMostApartUs)
// and the CPU time each process spends per probe and per answered probe,
// start-up included, as a ratio. Ravelin's side is its worker without the
// window (ravelin_ping_helper). The two take turns in rounds, so that a
// change in the machine's load weighs on both alike. Beside them, the
// monitor's probe, which opens a fresh socket for every exchange: its CPU
// per answered exchange, in process, against ping's (aim kMonitorProbeAim).
// Needs root (network namespaces) and /usr/bin/ping.

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CEchoProbe.h"
#include "NetNamespace.h"
#include "ProbeResult.h"
#include "UniqueFd.h"

namespace {

using vigilon::test::CommandOutput;
using vigilon::test::NetNamespace;

constexpr int kProbes = 200;
constexpr int kRounds = 2;
constexpr const char* kInterval = "0.05";
constexpr double kMostApartUs = 20;
constexpr const char* kPing = "/usr/bin/ping";
constexpr int kMonitorProbes = 200;
// The most the monitor's probe may spend per answered exchange, in times
// ping's CPU per answered probe.
constexpr double kMonitorProbeAim = 1.3;

// One address family's run: the link's two ends and ping's option for it.
struct Family {
    const char* name;
    const char* clientAddress;
    const char* targetAddress;
    const char* target;
    std::vector<std::string> pingOptions;
};

const Family kFamilies[] = {
    {"IPv4", "192.0.2.2/24", "192.0.2.1/24", "192.0.2.1", {}},
    {"IPv6", "2001:db8:5::2/64", "2001:db8:5::1/64", "2001:db8:5::1", {"-6"}},
};

struct Side {
    std::vector<double> roundTripsUs;
    double cpuUs = 0;
    int asked = 0;
};

bool Link(const NetNamespace& client, const NetNamespace& target, const Family& family) {
    const std::string failed =
        vigilon::test::JoinByVeth(client, family.clientAddress, target, family.targetAddress);
    if (!failed.empty()) std::fprintf(stderr, "%s", failed.c_str());
    return failed.empty();
}

// Runs argv inside the namespace and collects what it prints; adds the CPU
// time the process used, user and system, to cpuUs.
bool RunIn(const NetNamespace& space, const std::vector<std::string>& argv, std::string& output,
           double& cpuUs) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    vigilon::UniqueFd readEnd(pipeFds[0]);
    vigilon::UniqueFd writeEnd(pipeFds[1]);
    const pid_t child = fork();
    if (child == 0) {
        // The child ends in exec or _exit; the pipe's ends close on exec.
        const int ns = open(("/var/run/netns/" + space.Name()).c_str(), O_RDONLY | O_CLOEXEC);
        if (ns < 0 || setns(ns, CLONE_NEWNET) != 0) _exit(126);
        dup2(writeEnd.Get(), STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    writeEnd.Close();
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(readEnd.Get(), chunk, sizeof chunk)) > 0)
        output.append(chunk, got);
    int status = 0;
    rusage used{};
    if (child < 0 || wait4(child, &status, 0, &used) != child) return false;
    cpuUs += used.ru_utime.tv_sec * 1e6 + used.ru_utime.tv_usec + used.ru_stime.tv_sec * 1e6 +
             used.ru_stime.tv_usec;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// "64 bytes from 192.0.2.1: icmp_seq=1 ttl=64 time=0.043 ms"
bool RunPing(const NetNamespace& space, const Family& family, int count, Side& side) {
    std::string output;
    side.asked += count;
    std::vector<std::string> argv = {kPing};
    argv.insert(argv.end(), family.pingOptions.begin(), family.pingOptions.end());
    argv.insert(argv.end(), {"-n", "-c", std::to_string(count), "-i", kInterval, family.target});
    const bool ran = RunIn(space, argv, output, side.cpuUs);
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto at = line.find(" time=");
        if (at != std::string::npos)
            side.roundTripsUs.push_back(std::atof(line.c_str() + at + 6) * 1000);
    }
    return ran;
}

// "record: SEQ OUTCOME TTL BYTES RTT_US SENT_MS SETTLED_MS", outcome 0 an answer.
bool RunRavelin(const NetNamespace& space, const Family& family, int count, Side& side) {
    std::string output;
    side.asked += count;
    const bool ran =
        RunIn(space, {RAVELIN_PING_HELPER, family.target, kInterval, "56", std::to_string(count)},
              output, side.cpuUs);
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("record: ", 0) != 0) continue;
        std::istringstream fields(line.substr(8));
        long sequence = 0, outcome = -1, ttl = 0, bytes = 0;
        double roundTripUs = 0;
        fields >> sequence >> outcome >> ttl >> bytes >> roundTripUs;
        if (outcome == 0) side.roundTripsUs.push_back(roundTripUs);
    }
    return ran;
}

double Median(std::vector<double> values) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double PerAnswerUs(const Side& side) {
    return side.cpuUs / static_cast<double>(std::max<std::size_t>(1, side.roundTripsUs.size()));
}

void Report(const char* name, const Side& side) {
    std::printf(
        "%-8s %3zu of %d answered, median round trip %.1f us, CPU per probe %.1f us, "
        "per answered probe %.1f us\n",
        name, side.roundTripsUs.size(), side.asked, Median(side.roundTripsUs),
        side.cpuUs / side.asked, PerAnswerUs(side));
}

double ThreadCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The monitor's probe inside the client's namespace, on a thread of its own
// that enters it: its CPU per answered exchange, the pause after an answer
// left out. Returns the answers and adds the CPU time to cpuUs.
int RunMonitorProbe(const NetNamespace& space, const Family& family, double& cpuUs) {
    int answers = 0;
    std::thread([&] {
        const vigilon::UniqueFd ns(
            open(("/var/run/netns/" + space.Name()).c_str(), O_RDONLY | O_CLOEXEC));
        if (!ns || setns(ns.Get(), CLONE_NEWNET) != 0) return;
        vigilon::CEchoProbe probe([](std::uint32_t) {});
        const double before = ThreadCpuUs();
        for (int i = 0; i < kMonitorProbes; ++i)
            if (vigilon::IsAnswer(probe.Ping(family.target, 32))) ++answers;
        cpuUs += ThreadCpuUs() - before;
    }).join();
    return answers;
}

// Ravelin, ping and the monitor's probe over one family, each against the
// same neighbour; true when the medians agree and enough answered.
bool MeasureFamily(const Family& family) {
    NetNamespace client;
    NetNamespace target;
    if (!client.Ok() || !target.Ok() || !Link(client, target, family)) {
        std::fprintf(stderr, "cannot prepare the namespaces: %s%s\n", client.Error().c_str(),
                     target.Error().c_str());
        return false;
    }
    std::printf("%s: %d probes each to a veth neighbour, every %s s, in %d rounds taking turns\n",
                family.name, kProbes, kInterval, kRounds);
    Side ravelin;
    Side ping;
    const int perRound = kProbes / kRounds;
    for (int round = 0; round < kRounds; ++round) {
        const bool ravelinFirst = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool ok = (turn == 0) == ravelinFirst
                                ? RunRavelin(client, family, perRound, ravelin)
                                : RunPing(client, family, perRound, ping);
            if (!ok) {
                std::printf("a run failed\n");
                return false;
            }
        }
    }
    Report("ravelin", ravelin);
    Report("ping", ping);
    const double apartUs = Median(ravelin.roundTripsUs) - Median(ping.roundTripsUs);
    std::printf(
        "medians %.1f us apart (at most %.0f us allowed); CPU per answered probe "
        "ravelin/ping %.2f\n",
        apartUs, kMostApartUs, PerAnswerUs(ravelin) / PerAnswerUs(ping));
    double probeCpuUs = 0;
    const int probeAnswers = RunMonitorProbe(client, family, probeCpuUs);
    const double probeRatio = probeCpuUs / std::max(1, probeAnswers) / PerAnswerUs(ping);
    const bool probeMet = probeRatio <= kMonitorProbeAim;
    std::printf(
        "monitor probe, a fresh socket per exchange: %d of %d answered, CPU per answered "
        "exchange %.1f us against ping's per answered probe %.1f us: %.2fx (aim <= %.1fx) %s\n",
        probeAnswers, kMonitorProbes, probeCpuUs / std::max(1, probeAnswers), PerAnswerUs(ping),
        probeRatio, kMonitorProbeAim, probeMet ? "met" : "MISSED");
    const bool complete = ravelin.roundTripsUs.size() >= kProbes * 0.95 &&
                          ping.roundTripsUs.size() >= kProbes * 0.95 &&
                          probeAnswers >= kMonitorProbes * 0.95;
    if (!complete) std::printf("too few answers to compare\n");
    return complete && std::fabs(apartUs) <= kMostApartUs && probeMet;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string why = NetNamespace::WhyUnavailable();
    if (!why.empty()) {
        std::printf("cannot measure: %s\n", why.c_str());
        return 1;
    }
    if (access(kPing, X_OK) != 0) {
        std::printf("cannot measure: %s is missing (Debian package iputils-ping)\n", kPing);
        return 1;
    }
    bool met = true;
    for (const Family& family : kFamilies)
        met = MeasureFamily(family) && met;
    return met ? 0 : 1;
}
