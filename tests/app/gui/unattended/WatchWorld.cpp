#include "WatchWorld.h"

#include <sstream>

#include "FakePrompt.h"
#include "RecordingLog.h"
#include "SettingsFile.h"

namespace vigilon::test {

namespace {

constexpr const char* kIp = "/usr/sbin/ip";
constexpr const char* kHosts = "127.0.0.1 localhost\n";

// glibc alone would wait 12 s for the silent name server: longer than the
// program's 10-s bound, and shorter than a cycle after a lookup given up
// (5 s + 10 s), so that each cycle asks afresh and a name just added to the
// hosts file is found by the next one.
constexpr const char* kResolvConf = "nameserver 127.0.0.1\noptions timeout:12 attempts:1\n";

bool Run(const NetNamespace& space, const std::string& command, std::string& error) {
    const CommandOutput out = space.Exec(command);
    if (out.exitCode != 0 && error.empty()) error = command + ": " + out.output;
    return out.exitCode == 0;
}

}  // namespace

WatchWorld::WatchWorld() {
    error_ = NetNamespace::WhyUnavailable();
    if (!error_.empty()) return;
    watcher_ = std::make_unique<NetNamespace>();
    target_ = std::make_unique<NetNamespace>();
    services_ = std::make_unique<NetNamespace>();
    for (const NetNamespace* space : {watcher_.get(), target_.get(), services_.get()})
        if (!space->Ok() && error_.empty()) error_ = space->Error();
    if (!error_.empty()) return;
    if (!Link(*target_, "to-target", "from-watcher", "192.0.2.1/24",
              std::string(kTargetIp) + "/24") ||
        !Link(*services_, "to-services", "from-watcher", "198.51.100.1/24",
              std::string(kServicesIp) + "/24"))
        return;
    if (!watcher_->WriteEtcFile("hosts", kHosts) ||
        !watcher_->WriteEtcFile("resolv.conf", kResolvConf) ||
        !watcher_->WriteEtcFile("nsswitch.conf", "hosts: files dns\n"))
        error_ = "cannot write the watcher's resolver files";
}

bool WatchWorld::Link(const NetNamespace& peer, const std::string& ours, const std::string& theirs,
                      const std::string& ourAddress, const std::string& theirAddress) {
    return Run(*watcher_,
               kIp + std::string(" link add ") + ours + " type veth peer name " + theirs +
                   " netns " + peer.Name(),
               error_) &&
           Run(*watcher_, kIp + std::string(" addr add ") + ourAddress + " dev " + ours, error_) &&
           Run(*watcher_, kIp + std::string(" link set ") + ours + " up", error_) &&
           Run(peer, kIp + std::string(" addr add ") + theirAddress + " dev " + theirs, error_) &&
           Run(peer, kIp + std::string(" link set ") + theirs + " up", error_);
}

bool WatchWorld::SetTargetLink(bool up) {
    std::string error;
    return Run(*watcher_, kIp + std::string(" link set to-target ") + (up ? "up" : "down"), error);
}

bool WatchWorld::AddTargetName() {
    return watcher_->WriteEtcFile("hosts",
                                  std::string(kHosts) + kTargetIp + " " + kTargetName + "\n");
}

bool WatchWorld::StartSilentNameServer() {
    nameServer_ = std::make_unique<SilentNameServer>(*watcher_);
    return nameServer_->Ok();
}

// /proc/net/snmp holds a line of names, then one of values, per protocol.
long WatchWorld::TargetEchoReplies() const {
    std::istringstream lines(target_->Exec("cat /proc/net/snmp").output);
    std::string names, values;
    while (std::getline(lines, names) && std::getline(lines, values)) {
        if (!names.starts_with("Icmp:")) continue;
        std::istringstream nameWords(names), valueWords(values);
        std::string name, value;
        while (nameWords >> name && valueWords >> value)
            if (name == "OutEchoReps") return std::stol(value);
    }
    return -1;
}

std::vector<std::string> WatchWorld::CommandInWatcher(const std::string& program,
                                                      const std::string& folder) const {
    // `ip netns exec` execs the program: the process id stays the program's.
    return {kIp, "netns", "exec", watcher_->Name(), program, "--data-dir", folder};
}

bool StoreSettingsIn(const std::filesystem::path& folder, const MonitorSettings& settings) {
    FakePrompt quiet;
    RecordingLog unused;
    return SaveSettings((folder / kSettingsFileName).string(), settings, quiet, unused);
}

}  // namespace vigilon::test
