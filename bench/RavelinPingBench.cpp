// Ravelin's pinging against iputils ping on the same veth neighbour, in the
// same run: the median round trip each reports over kProbes answers (they
// should agree within kMostApartUs) and the CPU time each process spends
// per probe, start-up included, as a ratio. Ravelin's side is its worker
// without the window (ravelin_ping_helper). The two take turns in rounds,
// so that a change in the machine's load weighs on both alike. Needs root
// (network namespaces) and /usr/bin/ping.

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "NetNamespace.h"
#include "UniqueFd.h"

namespace {

using vigilon::test::CommandOutput;
using vigilon::test::NetNamespace;

constexpr int kProbes = 200;
constexpr int kRounds = 2;
constexpr const char* kInterval = "0.05";
constexpr double kMostApartUs = 20;
constexpr const char* kPing = "/usr/bin/ping";
constexpr const char* kTarget = "192.0.2.1";

struct Side {
    std::vector<double> roundTripsUs;
    double cpuUs = 0;
    int asked = 0;
};

bool Link(const NetNamespace& client, const NetNamespace& target) {
    const std::vector<std::pair<const NetNamespace*, std::string>> steps = {
        {&client, "ip link add va type veth peer name vb netns " + target.Name()},
        {&client, "ip addr add 192.0.2.2/24 dev va"},
        {&client, "ip link set va up"},
        {&target, "ip addr add 192.0.2.1/24 dev vb"},
        {&target, "ip link set vb up"},
    };
    for (const auto& [space, step] : steps) {
        const CommandOutput out = space->Exec(step);
        if (out.exitCode != 0) {
            std::fprintf(stderr, "%s: %s", step.c_str(), out.output.c_str());
            return false;
        }
    }
    return true;
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
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    writeEnd.Close();
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(readEnd.Get(), chunk, sizeof chunk)) > 0) output.append(chunk, got);
    int status = 0;
    rusage used{};
    if (child < 0 || wait4(child, &status, 0, &used) != child) return false;
    cpuUs += used.ru_utime.tv_sec * 1e6 + used.ru_utime.tv_usec + used.ru_stime.tv_sec * 1e6 +
             used.ru_stime.tv_usec;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// "64 bytes from 192.0.2.1: icmp_seq=1 ttl=64 time=0.043 ms"
bool RunPing(const NetNamespace& space, int count, Side& side) {
    std::string output;
    side.asked += count;
    const bool ran =
        RunIn(space, {kPing, "-n", "-c", std::to_string(count), "-i", kInterval, kTarget}, output,
              side.cpuUs);
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
bool RunRavelin(const NetNamespace& space, int count, Side& side) {
    std::string output;
    side.asked += count;
    const bool ran =
        RunIn(space, {RAVELIN_PING_HELPER, kTarget, kInterval, "56", std::to_string(count)}, output,
              side.cpuUs);
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

void Report(const char* name, const Side& side) {
    std::printf("%-8s %3zu of %d answered, median round trip %.1f us, CPU per probe %.1f us\n",
                name, side.roundTripsUs.size(), side.asked, Median(side.roundTripsUs),
                side.cpuUs / side.asked);
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
    NetNamespace client;
    NetNamespace target;
    if (!client.Ok() || !target.Ok() || !Link(client, target)) {
        std::fprintf(stderr, "cannot prepare the namespaces: %s%s\n", client.Error().c_str(),
                     target.Error().c_str());
        return 1;
    }
    std::printf("%d probes each to a veth neighbour, every %s s, in %d rounds taking turns\n",
                kProbes, kInterval, kRounds);
    Side ravelin;
    Side ping;
    const int perRound = kProbes / kRounds;
    for (int round = 0; round < kRounds; ++round) {
        const bool ravelinFirst = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool ok = (turn == 0) == ravelinFirst ? RunRavelin(client, perRound, ravelin)
                                                        : RunPing(client, perRound, ping);
            if (!ok) {
                std::printf("a run failed\n");
                return 1;
            }
        }
    }
    Report("ravelin", ravelin);
    Report("ping", ping);
    const double apartUs = Median(ravelin.roundTripsUs) - Median(ping.roundTripsUs);
    std::printf(
        "medians %.1f us apart (at most %.0f us allowed); CPU per probe ravelin/ping %.2f\n",
        apartUs, kMostApartUs, (ravelin.cpuUs / ravelin.asked) / (ping.cpuUs / ping.asked));
    const bool complete = ravelin.roundTripsUs.size() >= kProbes * 0.95 &&
                          ping.roundTripsUs.size() >= kProbes * 0.95;
    if (!complete) std::printf("too few answers to compare\n");
    return complete && std::fabs(apartUs) <= kMostApartUs ? 0 : 1;
}
