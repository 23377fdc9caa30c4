#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MonitorSettings.h"
#include "NetNamespace.h"
#include "SilentNameServer.h"

namespace vigilon::test {

// The small Internet an unattended Vigilon watches, made of private network
// namespaces: the watcher, where the program runs, with one link to the
// target (192.0.2.2) and one to a services host (198.51.100.2: the control
// host, and the mail server's address). The watcher has hosts and
// resolv.conf files of its own; its name server at 127.0.0.1 is either
// absent (lookups fail at once) or one that never answers.
class WatchWorld {
public:
    static constexpr const char* kTargetName = "watched.vigilon.test";
    static constexpr const char* kTargetIp = "192.0.2.2";
    static constexpr const char* kServicesIp = "198.51.100.2";

    WatchWorld();
    WatchWorld(const WatchWorld&) = delete;
    WatchWorld& operator=(const WatchWorld&) = delete;

    // Empty once every namespace, link and file is in place.
    const std::string& Error() const { return error_; }

    const NetNamespace& Watcher() const { return *watcher_; }
    const NetNamespace& Services() const { return *services_; }

    // The watcher's end of its link to the target, up or down.
    bool SetTargetLink(bool up);
    // Puts the target's name into the watcher's hosts file, in place, as an
    // administrator's editor does.
    bool AddTargetName();
    bool StartSilentNameServer();
    void StopSilentNameServer() { nameServer_.reset(); }
    // Echo replies the target has sent so far; -1 when unreadable.
    long TargetEchoReplies() const;

    // The command line that runs program in the watcher with its data in folder.
    std::vector<std::string> CommandInWatcher(const std::string& program,
                                              const std::string& folder) const;

private:
    bool Link(const NetNamespace& peer, const std::string& ours, const std::string& theirs,
              const std::string& ourAddress, const std::string& theirAddress);

    std::unique_ptr<NetNamespace> watcher_, target_, services_;
    std::unique_ptr<SilentNameServer> nameServer_;
    std::string error_;
};

// Settings with the given record in folder/Vigilon.dat, written as the
// program writes them.
bool StoreSettingsIn(const std::filesystem::path& folder, const MonitorSettings& settings);

}  // namespace vigilon::test
