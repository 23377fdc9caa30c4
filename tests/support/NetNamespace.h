#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <sys/wait.h>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vigilon::test {

struct CommandOutput {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// Runs a shell command and collects what it prints.
inline CommandOutput RunCommand(const std::string& command) {
    CommandOutput result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 512> chunk{};
    size_t got = 0;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        result.output.append(chunk.data(), got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A private network namespace with only its loopback up, and optionally its
// own resolver files under /etc/netns/NAME/ (seen by `ip netns exec`).
// Destroying it removes the namespace and those files, also when a test fails.
class NetNamespace {
public:
    // Why namespaces cannot be made here; empty when they can.
    static std::string WhyUnavailable() {
        if (geteuid() != 0) return "network namespaces need root (ip netns add)";
        if (RunCommand("ip -V").exitCode != 0) return "the ip command (iproute2) is missing";
        return {};
    }

    NetNamespace() {
        static std::atomic<int> counter{0};
        // VIGILON_NETNS_PREFIX keeps the names of checkouts testing side by
        // side on one machine apart.
        const char* prefix = std::getenv("VIGILON_NETNS_PREFIX");
        name = std::string(prefix != nullptr && *prefix != '\0' ? prefix : "vigilon-test-") +
               std::to_string(getpid()) + "-" + std::to_string(counter++);
        CommandOutput added = RunCommand("ip netns add " + name);
        if (added.exitCode != 0) {
            error = "ip netns add failed: " + added.output;
            return;
        }
        created = true;
        CommandOutput up = Exec("ip link set lo up");
        if (up.exitCode != 0) error = "cannot bring lo up: " + up.output;
    }

    ~NetNamespace() {
        if (created) RunCommand("ip netns del " + name);
        std::error_code ignored;
        std::filesystem::remove_all(EtcDirectory(), ignored);
    }

    NetNamespace(const NetNamespace&) = delete;
    NetNamespace& operator=(const NetNamespace&) = delete;

    bool Ok() const { return created && error.empty(); }
    const std::string& Error() const { return error; }
    const std::string& Name() const { return name; }

    // Runs a shell command line inside the namespace, resolver files applied.
    CommandOutput Exec(const std::string& commandLine) const {
        return RunCommand("ip netns exec " + name + " " + commandLine);
    }

    // key as in sysctl, e.g. "net.ipv4.icmp_echo_ignore_all". Written through
    // /proc/sys, whose net part shows the writer's namespace; this spares the
    // procps package.
    bool SetSysctl(std::string key, const std::string& value) const {
        for (char& c : key)
            if (c == '.') c = '/';
        const std::string path = "/proc/sys/" + key;
        if (Exec("sh -c " + ShellQuote("echo " + ShellQuote(value) + " > " + path)).exitCode != 0)
            return false;
        std::string shown = Exec("cat " + path).output;  // ranges come back tab-separated
        for (char& c : shown)
            if (c == '\t') c = ' ';
        return shown == value + "\n";
    }

    // Writes /etc/netns/NAME/<file>, which hides /etc/<file> inside the namespace.
    bool WriteEtcFile(const std::string& file, const std::string& content) const {
        std::error_code failed;
        std::filesystem::create_directories(EtcDirectory(), failed);
        if (failed) return false;
        std::ofstream out(EtcDirectory() / file, std::ios::trunc);
        out << content;
        return static_cast<bool>(out);
    }

    // Where WriteEtcFile puts file, for a process in the namespace to change.
    std::string EtcFile(const std::string& file) const { return (EtcDirectory() / file).string(); }

private:
    std::filesystem::path EtcDirectory() const {
        return std::filesystem::path("/etc/netns") / name;
    }

    std::string name;
    std::string error;
    bool created = false;
};

// Joins two namespaces by a veth link, va in near and vb in far, and gives
// each end its address with prefix ("192.0.2.2/24", "2001:db8:5::2/64").
// The links come up first and the addresses after, IPv6 ones without
// duplicate detection (nodad): an IPv6 address on a link that was still down
// loses the first neighbour solicitation, and with it the first request.
// Returns what failed; empty when joined.
inline std::string JoinByVeth(const NetNamespace& near, const std::string& nearAddress,
                              const NetNamespace& far, const std::string& farAddress) {
    const auto withAddress = [](const std::string& address, const std::string& device) {
        const bool v6 = address.find(':') != std::string::npos;
        return "ip addr add " + address + " dev " + device + (v6 ? " nodad" : "");
    };
    const std::pair<const NetNamespace*, std::string> steps[] = {
        {&near, "ip link add va type veth peer name vb netns " + far.Name()},
        {&near, "ip link set va up"},
        {&far, "ip link set vb up"},
        {&near, withAddress(nearAddress, "va")},
        {&far, withAddress(farAddress, "vb")},
    };
    for (const auto& [space, step] : steps) {
        const CommandOutput out = space->Exec(step);
        if (out.exitCode != 0) return step + ": " + out.output;
    }
    return {};
}

// Moves the calling thread into a namespace until it is destroyed, so that
// code under test runs there in process. Sockets opened meanwhile, and
// processes started meanwhile, belong to the namespace.
class NamespaceEntry {
public:
    explicit NamespaceEntry(const NetNamespace& space) {
        original_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const int target = ::open(("/var/run/netns/" + space.Name()).c_str(), O_RDONLY | O_CLOEXEC);
        entered_ = original_ >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
        if (target >= 0) ::close(target);
    }
    ~NamespaceEntry() {
        if (entered_) ::setns(original_, CLONE_NEWNET);
        if (original_ >= 0) ::close(original_);
    }
    NamespaceEntry(const NamespaceEntry&) = delete;
    NamespaceEntry& operator=(const NamespaceEntry&) = delete;

    bool Ok() const { return entered_; }

private:
    int original_ = -1;
    bool entered_ = false;
};

}  // namespace vigilon::test
