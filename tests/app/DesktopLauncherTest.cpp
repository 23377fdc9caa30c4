#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DesktopLauncher.h"
#include "QueuedDispatcher.h"

namespace vigilon {
namespace {

namespace fs = std::filesystem;

// Whether this process has a child, running or ended, without reaping it.
bool HasChildren() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
}

class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vigilon-launch-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    test::QueuedDispatcher windowThread;
    DesktopLauncher launcher{windowThread};
};

TEST_F(Launcher, ReturnsWhileTheProgramRunsAndLeavesNoChildBehind) {
    const fs::path gate = dir / "gate";
    const fs::path marker = dir / "marker";
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);

    // The program blocks on the gate until the test opens it: Launch must
    // come back before that, or it would have waited for the program.
    launcher.Launch({"sh", "-c", "read line < \"$0\"; echo \"$line\" > \"$1\"", gate, marker});
    EXPECT_FALSE(HasChildren()) << "the program must be handed to init, not left to us";

    std::ofstream(gate) << "ran\n";
    for (int i = 0; i < 500 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string line;
    std::getline(std::ifstream(marker) >> std::ws, line);
    EXPECT_EQ(line, "ran");
}

TEST_F(Launcher, AMissingProgramIsSilentAndLeavesNoChild) {
    launcher.Launch({"vigilon-no-such-program"});
    launcher.Launch({});
    EXPECT_FALSE(HasChildren());
}

// The watched launch tells of a program that could not be started or ended
// unsuccessfully, on the window's thread, and of no other; it returns at
// once whatever the program does, and reaps it when it ends.
TEST_F(Launcher, AWatchedLaunchReportsFailuresOnlyAndReapsTheProgram) {
    int failures = 0;
    auto failed = [&failures] { ++failures; };
    const fs::path gate = dir / "gate";
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);

    launcher.LaunchWatched({"sh", "-c", "read line < \"$0\"; exit 3", gate}, failed);
    launcher.LaunchWatched({"vigilon-no-such-program"}, failed);
    launcher.LaunchWatched({"true"}, failed);
    EXPECT_TRUE(windowThread.RunUntil([&] { return failures == 1; }, std::chrono::seconds(10)))
        << "the missing program";
    EXPECT_EQ(failures, 1) << "the program still waiting at its gate has not failed yet";

    std::ofstream(gate) << "go\n";
    EXPECT_TRUE(windowThread.RunUntil([&] { return failures == 2; }, std::chrono::seconds(10)))
        << "the exit status 3";
    windowThread.RunUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(failures, 2) << "true ended well";
    for (int i = 0; i < 100 && HasChildren(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(HasChildren()) << "every program reaped";
}

TEST_F(Launcher, ReportsOnTheirWayWhenTheLauncherGoesAreDropped) {
    int failures = 0;
    {
        DesktopLauncher shortLived{windowThread};
        shortLived.LaunchWatched({"false"}, [&failures] { ++failures; });
        for (int i = 0; i < 100 && HasChildren(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    windowThread.RunUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace vigilon
