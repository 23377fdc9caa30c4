// How much CPU the probe spends waiting while the machine is flooded with
// echo traffic that is not its own (as under `ping -f`), and whether it still
// finds its own replies. Runs in a private network namespace; needs root.
//
//   probe_flood_bench [DEAD_PROBES [ANSWERED_PROBES]]
//
// The flood: echo requests to 127.0.0.1 as fast as one process can send them,
// each answered by the kernel, so a raw socket sees two datagrams per send.
// The dead host 198.51.100.2 sits behind a veth link with a fixed neighbour
// entry: its frames go out and nothing comes back.

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/icmp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "ByteOrder.h"
#include "CEchoProbe.h"
#include "EchoIdentifiers.h"
#include "IcmpWire.h"
#include "NetNamespace.h"
#include "ProbeResult.h"
#include "UniqueFd.h"

using namespace vigilon;

namespace {

constexpr const char* kDeadHost = "198.51.100.2";
constexpr int kIdleDeadProbes = 2;

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

bool EnterNamespace(const test::NetNamespace& space) {
    const UniqueFd fd(open(("/var/run/netns/" + space.Name()).c_str(), O_RDONLY | O_CLOEXEC));
    return fd && setns(fd.Get(), CLONE_NEWNET) == 0;
}

bool AddDeadHost(const test::NetNamespace& space) {
    for (const char* step : {"ip link add vb0 type veth peer name vb1", "ip link set vb1 up",
                             "ip addr add 198.51.100.1/24 dev vb0", "ip link set vb0 up",
                             "ip neigh replace 198.51.100.2 lladdr 02:00:00:00:00:02 dev vb0 nud "
                             "permanent"}) {
        const test::CommandOutput out = space.Exec(step);
        if (out.exitCode != 0) {
            std::fprintf(stderr, "%s: %s", step, out.output.c_str());
            return false;
        }
    }
    return true;
}

// Echo requests to the loopback address without pause, with an identifier
// the probe does not use; the sender's own socket takes in nothing.
[[noreturn]] void Flood(std::uint16_t identifier) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd < 0) _exit(1);
    icmp_filter none{~0U};
    setsockopt(fd, SOL_RAW, ICMP_FILTER, &none, sizeof none);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::uint8_t message[64];
    std::memset(message, 0x46, sizeof message);
    message[0] = 8;
    message[1] = 0;
    StoreLe16(message + 4, identifier);
    for (std::uint16_t sequence = 0;; ++sequence) {
        StoreLe16(message + 6, sequence);
        StoreLe16(message + 2, 0);
        StoreLe16(message + 2, IcmpChecksum(message, sizeof message));
        sendto(fd, message, sizeof message, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&to),
               sizeof to);
    }
}

// Datagrams per second that reach a raw ICMP socket of this namespace.
long FloodRate() {
    const UniqueFd fd(socket(AF_INET, SOCK_RAW, IPPROTO_ICMP));
    if (!fd) return -1;
    std::uint8_t datagram[256];
    long count = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < end) {
        pollfd ready{fd.Get(), POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        while (recv(fd.Get(), datagram, sizeof datagram, MSG_DONTWAIT) > 0)
            ++count;
    }
    return count * 2;
}

// IP datagrams this namespace sent but never took in, the dead host's
// requests included: less those, what the stack itself lost on the loopback
// path (a probe's request lost there is a time-out no socket of the probe
// can prevent).
long LostOnLoopback() {
    std::FILE* snmp = std::fopen("/proc/self/net/snmp", "r");
    if (snmp == nullptr) return -1;
    char names[2048];
    char values[2048];
    long lost = -1;
    while (std::fgets(names, sizeof names, snmp) && std::fgets(values, sizeof values, snmp)) {
        if (std::strncmp(names, "Ip:", 3) != 0) continue;
        std::vector<std::string> keys;
        std::vector<long> numbers;
        for (char* key = std::strtok(names + 3, " \n"); key; key = std::strtok(nullptr, " \n"))
            keys.emplace_back(key);
        for (char* number = std::strtok(values + 3, " \n"); number;
             number = std::strtok(nullptr, " \n"))
            numbers.push_back(std::atol(number));
        long received = -1;
        long sent = -1;
        for (std::size_t i = 0; i < keys.size() && i < numbers.size(); ++i) {
            if (keys[i] == "InReceives") received = numbers[i];
            if (keys[i] == "OutTransmits" || (keys[i] == "OutRequests" && sent < 0))
                sent = numbers[i];
        }
        if (received >= 0 && sent >= 0) lost = sent - received;
    }
    std::fclose(snmp);
    return lost;
}

struct Stats {
    std::vector<double> cpuMs;
    int timeouts = 0;
    int answers = 0;
    int other = 0;
};

Stats RunProbes(CEchoProbe& probe, const char* host, int count) {
    Stats stats;
    for (int i = 0; i < count; ++i) {
        const double before = ThreadCpuMs();
        const std::string result = probe.Ping(host, 32);
        stats.cpuMs.push_back(ThreadCpuMs() - before);
        if (result == kTimedOut)
            ++stats.timeouts;
        else if (result.find(" bytes from ") != std::string::npos)
            ++stats.answers;
        else
            ++stats.other, std::printf("  unexpected: %s\n", result.c_str());
    }
    return stats;
}

void Report(const char* what, const Stats& stats) {
    std::vector<double> sorted = stats.cpuMs;
    std::sort(sorted.begin(), sorted.end());
    double total = 0;
    for (double ms : sorted)
        total += ms;
    const double mean = sorted.empty() ? 0 : total / static_cast<double>(sorted.size());
    std::printf(
        "%s: %zu probes, %d answered, %d timed out, %d other; probe CPU per call: mean "
        "%.1f ms, median %.1f ms, max %.1f ms\n",
        what, sorted.size(), stats.answers, stats.timeouts, stats.other, mean,
        sorted.empty() ? 0 : sorted[sorted.size() / 2], sorted.empty() ? 0 : sorted.back());
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int deadProbes = argc > 1 ? std::atoi(argv[1]) : 10;
    const int answeredProbes = argc > 2 ? std::atoi(argv[2]) : 2000;
    const std::string why = test::NetNamespace::WhyUnavailable();
    if (!why.empty()) {
        std::printf("skipped: %s\n", why.c_str());
        return 0;
    }
    test::NetNamespace space;
    if (!space.Ok() || !AddDeadHost(space) || !EnterNamespace(space)) {
        std::fprintf(stderr, "cannot prepare the namespace: %s\n", space.Error().c_str());
        return 1;
    }

    // No pause after a reply: the bench measures the wait, not the sleep.
    CEchoProbe probe([](std::uint32_t) {});
    std::printf("idle, dead host: ");
    Report(kDeadHost, RunProbes(probe, kDeadHost, kIdleDeadProbes));

    const pid_t flooder = fork();
    if (flooder == 0) Flood(static_cast<std::uint16_t>(ProcessIdentifier() ^ 0x5A5A));
    std::printf("flood: about %ld ICMP datagrams/s reach a raw socket\n", FloodRate());
    Report("flooded, dead host (1 s wait each)", RunProbes(probe, kDeadHost, deadProbes));
    Report("flooded, 127.0.0.1", RunProbes(probe, "127.0.0.1", answeredProbes));
    kill(flooder, SIGKILL);
    waitpid(flooder, nullptr, 0);
    usleep(200 * 1000);  // let the last datagrams arrive
    const int deadRequests = kIdleDeadProbes + deadProbes;
    std::printf("datagrams lost by the stack on the loopback path: %ld\n",
                LostOnLoopback() - deadRequests);
    return 0;
}
