#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "PosixProgramLauncher.h"

namespace vigilon {
namespace {

namespace fs = std::filesystem;

bool HasChildren() { return ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD; }

class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vigilon-launch-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    PosixProgramLauncher launcher;
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

}  // namespace
}  // namespace vigilon
