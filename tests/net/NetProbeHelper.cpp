// Runs one probe or lookup in the calling process's network namespace and
// prints the outcome, so tests can run it through `ip netns exec`, where the
// namespace's own resolver files apply.
//
//   net_probe_helper [OPTION...] ping HOST[,HOST...] DATASIZE COUNT
//   net_probe_helper [--hosts-file PATH] STEP TEXT [STEP TEXT...]
//
// where each STEP is lookup-address HOST, lookup-name ADDRESS or add-host
// LINE, run in order in one process.
//
// Output lines: "result: TEXT", "box: TEXT", "elapsed: MS", "flood: seen",
// and the peers' "answer: HOST sequence N" and "forged: HOST".
// The pings go to the hosts listed in turn.
// --user ID drops to that uid and gid once the peers run;
// --flood answers the probe's requests late from a second process amid echo
// traffic that is not the probe's (run it where the kernel's own echo answers
// are switched off);
// --fresh-probes takes a new probe for every ping, as the engine does per cycle;
// --hosts-file names the namespace's hosts file, to which add-host appends;
// --answer, --forge-from, --forge-altered and --forge-blind play other hosts
// (see EchoPeers.h).
// Everything goes through SystemNetwork, the engine's view of the network.

#include <arpa/inet.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ByteOrder.h"
#include "EchoIdentifiers.h"
#include "EchoPeers.h"
#include "IcmpWire.h"
#include "SystemNetwork.h"
#include "UniqueFd.h"

using namespace vigilon;

namespace {

// Echo requests the probe must not mistake for its own: its identifier with
// another sequence, and another identifier with the probe's sequences. Their
// data is 'F', not the probe's 'E', which tells them apart whatever sequence
// the probe's request carries on the wire.
constexpr std::uint16_t kForeignSequence = 0x7777;
constexpr std::uint8_t kForeignFill = 0x46;

long MsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

std::uint32_t NowMs() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void SendMessage(int fd, std::uint8_t* message, int length) {
    StoreLe16(message + 2, 0);
    StoreLe16(message + 2, IcmpChecksum(message, length));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(fd, message, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

void SendEcho(int fd, std::uint8_t type, std::uint16_t identifier, std::uint16_t sequence) {
    std::uint8_t message[44];
    std::memset(message, kForeignFill, sizeof message);
    message[0] = type;
    message[1] = 0;
    StoreLe16(message + 4, identifier);
    StoreLe16(message + 6, sequence);
    StoreLe32(message + 8, NowMs());
    SendMessage(fd, message, sizeof message);
}

// With the namespace's own echo answers switched off, plays the target: each
// of the probe's requests is answered 150 ms late, while echo requests and
// replies that are not the probe's keep coming, so the probe has to skip
// hundreds of them to find its own reply.
[[noreturn]] void FloodAndAnswerLate(std::uint16_t probeIdentifier) {
    const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd < 0) _exit(1);
    const std::uint16_t other = probeIdentifier ^ 0x5A5A;
    struct Answer {
        std::uint32_t dueMs;
        std::vector<std::uint8_t> message;
    };
    std::deque<Answer> answers;
    std::uint8_t datagram[1024];
    for (;;) {
        SendEcho(fd, 8, probeIdentifier, kForeignSequence);
        SendEcho(fd, 0, probeIdentifier, kForeignSequence);
        SendEcho(fd, 0, other, 0);
        SendEcho(fd, 0, other, 1);
        pollfd ready{fd, POLLIN, 0};
        while (poll(&ready, 1, 0) > 0) {
            const ssize_t got = recv(fd, datagram, sizeof datagram, 0);
            const int header = (datagram[0] & 0x0F) * 4;
            if (got < header + 8) continue;
            const std::uint8_t* icmp = datagram + header;
            if (icmp[0] != 8 || LoadLe16(icmp + 4) != probeIdentifier || got < header + 13 ||
                icmp[12] == kForeignFill)
                continue;
            Answer answer{NowMs() + 150, std::vector<std::uint8_t>(icmp, icmp + (got - header))};
            answer.message[0] = 0;
            answers.push_back(std::move(answer));
        }
        while (!answers.empty() &&
               static_cast<std::int32_t>(NowMs() - answers.front().dueMs) >= 0) {
            std::vector<std::uint8_t>& message = answers.front().message;
            SendMessage(fd, message.data(), static_cast<int>(message.size()));
            answers.pop_front();
        }
        usleep(300);
    }
}

// Proves the flood reaches a raw socket before the probe starts: a reply
// carrying the probe's identifier but the foreign sequence.
bool SeeFlood(std::uint16_t probeIdentifier) {
    const UniqueFd fd(socket(AF_INET, SOCK_RAW, IPPROTO_ICMP));
    if (!fd) return false;
    const auto start = std::chrono::steady_clock::now();
    std::uint8_t datagram[1024];
    bool seen = false;
    while (!seen && MsSince(start) < 2000) {
        pollfd ready{fd.Get(), POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) continue;
        const ssize_t got = recv(fd.Get(), datagram, sizeof datagram, 0);
        const int header = (datagram[0] & 0x0F) * 4;
        if (got < header + 8) continue;
        seen = datagram[header] == 0 && LoadLe16(datagram + header + 4) == probeIdentifier &&
               LoadLe16(datagram + header + 6) == kForeignSequence;
    }
    return seen;
}

bool DropTo(const char* id) {
    const auto number = static_cast<unsigned>(std::strtoul(id, nullptr, 10));
    return setgroups(0, nullptr) == 0 && setgid(number) == 0 && setuid(number) == 0;
}

std::vector<std::string> SplitHosts(const std::string& list) {
    std::vector<std::string> hosts;
    std::string::size_type start = 0;
    for (;;) {
        const auto comma = list.find(',', start);
        hosts.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) return hosts;
        start = comma + 1;
    }
}

int Ping(const std::vector<std::string>& hosts, int dataSize, int count, bool flood,
         bool freshProbes) {
    pid_t flooder = -1;
    if (flood) {
        const std::uint16_t identifier = ProcessIdentifier();
        flooder = fork();
        if (flooder == 0) FloodAndAnswerLate(identifier);
        if (SeeFlood(identifier)) std::printf("flood: seen\n");
    }
    SystemNetwork network;
    std::unique_ptr<EchoProber> probe = network.NewProbe();
    for (int i = 0; i < count; ++i) {
        if (freshProbes) probe = network.NewProbe();
        const auto start = std::chrono::steady_clock::now();
        const ProbeOutcome result = probe->Ping(hosts[i % hosts.size()], dataSize);
        // A local failure is what the window shows the user in a box.
        if (result.localFailure) std::printf("box: %s\n", result.text.c_str());
        std::printf("result: %s\nelapsed: %ld\n", result.text.c_str(), MsSince(start));
    }
    if (flooder > 0) {
        kill(flooder, SIGKILL);
        waitpid(flooder, nullptr, 0);
    }
    return 0;
}

template <typename Lookup>
void RunLookup(Lookup lookup, const char* text) {
    const auto start = std::chrono::steady_clock::now();
    const LookupOutcome result = lookup(text);
    std::printf("result: %s\nelapsed: %ld\n", result.text.c_str(), MsSince(start));
}

bool AppendLine(const char* path, const std::string& line) {
    std::ofstream file(path, std::ios::app);
    file << line << '\n';
    return static_cast<bool>(file);
}

// Lookups and additions to the hosts file in order, so that a lookup meets
// whatever an earlier one left behind in this process.
int RunLookupSteps(SystemNetwork& network, const char* hostsFile, char** steps, int count) {
    if (count == 0 || count % 2 != 0) return 2;
    for (int i = 0; i < count; i += 2) {
        const std::string step = steps[i];
        const char* text = steps[i + 1];
        if (step == "lookup-address") {
            RunLookup([&network](const std::string& host) { return network.LookupAddress(host); },
                      text);
        } else if (step == "lookup-name") {
            RunLookup(
                [&network](const std::string& address) { return network.LookupName(address); },
                text);
        } else if (step != "add-host" || hostsFile == nullptr || !AppendLine(hostsFile, text)) {
            return 2;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    int next = 1;
    bool flood = false;
    bool freshProbes = false;
    const char* user = nullptr;
    const char* hostsFile = nullptr;
    std::vector<test::EchoPeer> peers;
    for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
        test::EchoPeer peer;
        if (std::strcmp(argv[next], "--flood") == 0) {
            flood = true;
        } else if (std::strcmp(argv[next], "--fresh-probes") == 0) {
            freshProbes = true;
        } else if (std::strcmp(argv[next], "--user") == 0 && next + 1 < argc) {
            user = argv[++next];
        } else if (std::strcmp(argv[next], "--hosts-file") == 0 && next + 1 < argc) {
            hostsFile = argv[++next];
        } else if (next + 1 < argc && test::ParsePeer(argv[next], argv[next + 1], peer)) {
            peers.push_back(peer);
            ++next;
        } else {
            return 2;
        }
    }
    // The peers need raw sockets: they start before the helper gives up root.
    std::vector<pid_t> running;
    for (const test::EchoPeer& peer : peers) {
        running.push_back(test::StartPeer(peer));
        if (running.back() < 0) {
            std::fprintf(stderr, "a peer could not start\n");
            return 2;
        }
    }
    if (user != nullptr && !DropTo(user)) {
        std::perror("cannot change user");
        return 2;
    }

    const std::string command = next < argc ? argv[next] : "";
    SystemNetwork network;
    int exitCode = 2;
    if (command == "ping" && next + 3 < argc) {
        exitCode = Ping(SplitHosts(argv[next + 1]), std::atoi(argv[next + 2]),
                        std::atoi(argv[next + 3]), flood, freshProbes);
    } else if (command != "ping") {
        exitCode = RunLookupSteps(network, hostsFile, argv + next, argc - next);
    }
    if (exitCode == 2) {
        std::fprintf(stderr,
                     "usage: net_probe_helper [OPTION...] ping HOST[,HOST...] DATASIZE "
                     "COUNT\n"
                     "       net_probe_helper [--hosts-file PATH] STEP TEXT [STEP TEXT...]\n"
                     "       STEP: lookup-address | lookup-name | add-host\n");
    }
    // Once the helper is no longer root, the peers die with it instead.
    for (const pid_t peer : running)
        if (kill(peer, SIGKILL) == 0) waitpid(peer, nullptr, 0);
    return exitCode;
}
