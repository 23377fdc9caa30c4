// Without a known session bus, neither the tray's choice nor a notice asks
// the D-Bus library for one, which would start a bus of its own (X11
// autolaunch through dbus-launch) that outlives the program's purpose.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ChooseTrayBackend.h"
#include "SessionBus.h"
#include "WxDesktopNotifier.h"
#include "WxTaskBarTray.h"

namespace vigilon::test {
namespace {

// Sets an environment variable for one scope, or removes it (nullptr).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() {
        old_.empty() ? unsetenv(name_.c_str()) : setenv(name_.c_str(), old_.c_str(), 1);
    }

private:
    std::string name_, old_;
};

TEST(SessionBus, WithoutAKnownBusNothingAsksForOneAndNoneIsStarted) {
    char folder[] = "/tmp/vigilon-nobus-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string bin = std::string(folder) + "/bin", runtime = std::string(folder) + "/run";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(runtime);
    // A dbus-launch that only leaves a mark: GIO's autolaunch runs it.
    const std::string mark = std::string(folder) + "/launched";
    {
        std::ofstream script(bin + "/dbus-launch");
        script << "#!/bin/sh\ntouch '" << mark << "'\nexit 1\n";
    }
    std::filesystem::permissions(bin + "/dbus-launch", std::filesystem::perms::owner_all);
    const std::string path = bin + ":" + (getenv("PATH") != nullptr ? getenv("PATH") : "");
    {
        ScopedEnv noAddress("DBUS_SESSION_BUS_ADDRESS", nullptr);
        ScopedEnv emptyRuntime("XDG_RUNTIME_DIR", runtime.c_str());  // with no "bus" socket in it
        ScopedEnv markingPath("PATH", path.c_str());

        EXPECT_FALSE(app::SessionBusKnown());
        EXPECT_NE(dynamic_cast<app::WxTaskBarTray*>(app::ChooseTrayBackend().get()), nullptr);
        app::WxDesktopNotifier desktop;
        EXPECT_FALSE(
            desktop.Notify({app::NoticeKind::TargetDown, "target.example - OFFLINE", "body"}));
    }
    EXPECT_FALSE(std::filesystem::exists(mark)) << "a bus was asked for";
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vigilon::test
