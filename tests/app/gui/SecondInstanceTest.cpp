// Two real copies of the program on one data folder: the second is turned
// away with a message and leaves the first's files alone.
#include <gmock/gmock.h>

#include "ChildProcess.h"
#include "FakePrompt.h"
#include "GuiSession.h"
#include "IcmpPrivileges.h"
#include "InstanceLock.h"
#include "LogLine.h"
#include "RecordingLog.h"
#include "SettingsFile.h"
#include "TempWorkDir.h"
#include "XWindowState.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::ElementsAre;

const std::string kProgram = VIGILON_BUILD_DIR "/vigilon";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SecondInstance, IsTurnedAwayWhileTheFirstRunsOnInTheDataFolder) {
    if (!app::SystemIcmpCheck().CanOpenIcmpSocket())
        GTEST_SKIP() << "this user may not open an ICMP socket";
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    const fs::path folder = dir.path / "state/vigilon";
    fs::create_directories(folder);
    MonitorSettings settings;
    settings.targetAddress = "127.0.0.1";
    settings.controlAddress = "127.0.0.1";
    settings.pingFrequency = 3600;  // no ping line while the test runs
    settings.emailEnabled = 0;
    settings.logEnabled = 1;
    FakePrompt quiet;
    RecordingLog unused;
    ASSERT_TRUE(SaveSettings((folder / kSettingsFileName).string(), settings, quiet, unused));
    const std::string storedSettings = ReadFile(folder / kSettingsFileName);

    // Started elsewhere, the first keeps both files in the folder it is given.
    ChildProcess first({kProgram, "--data-dir", folder.string()}, dir.path.string(), {},
                       (dir.path / "first").string());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(PumpUntil(
        [&] { return StateOfWindowTitled(first.Pid(), "Vigilon - ON") == XWindowState::Normal; },
        30s))
        << first.Errors();
    const fs::path log = folder / kLogFileName;
    ASSERT_THAT(LogMessages(log.string()),
                ElementsAre("***** Vigilon STARTED :: aimed at: 127.0.0.1 *****"));
    const std::string firstLog = ReadFile(log);

    // The second reaches the same folder through the user's own one.
    ChildProcess second({kProgram, "--user-data"}, dir.path.string(),
                        {{"XDG_STATE_HOME", (dir.path / "state").string()}},
                        (dir.path / "second").string());
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(PumpUntil(
        [&] { return StateOfWindowTitled(second.Pid(), "Vigilon") == XWindowState::Normal; }, 30s))
        << "no message box: " << second.Errors();
    EXPECT_EQ(second.Errors(), "vigilon: already running in " + folder.string() + "\n");
    EXPECT_EQ(StateOfWindowTitled(second.Pid(), "Vigilon - ON"), XWindowState::NotManaged)
        << "no main window";
    EXPECT_TRUE(second.Running()) << "the message waits for the user";
    EXPECT_TRUE(CloseWindowTitled(second.Pid(), "Vigilon"));
    EXPECT_EQ(second.Wait(10s), 1);

    EXPECT_EQ(ReadFile(log), firstLog);
    EXPECT_EQ(ReadFile(folder / kSettingsFileName), storedSettings);
    EXPECT_FALSE(fs::exists(dir.path / kLogFileName));
    EXPECT_FALSE(fs::exists(dir.path / kSettingsFileName));
    ASSERT_TRUE(first.Running());
    EXPECT_EQ(StateOfWindowTitled(first.Pid(), "Vigilon - ON"), XWindowState::Normal);

    // The first ends through its close box, saving into its folder, and
    // leaves the folder free.
    EXPECT_TRUE(CloseWindowTitled(first.Pid(), "Vigilon - ON"));
    EXPECT_EQ(first.Wait(10s), 0);
    EXPECT_THAT(LogMessages(log.string()),
                ElementsAre("***** Vigilon STARTED :: aimed at: 127.0.0.1 *****", "SAVED SETTINGS",
                            "***** EXITING Vigilon *****"));
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire((folder / kLockFileName).string()), LockResult::Held);
}

}  // namespace
}  // namespace vigilon::test
