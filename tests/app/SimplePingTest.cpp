// Where the Simple Ping command finds its companion tool, and that a missing
// tool launches nothing.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FakeLauncher.h"
#include "SimplePing.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;
using app::FindSimplePing;
const std::string kSimplePingProgram = app::SimplePingProgram();

class SimplePing : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("vigilon-ravelin-" + std::to_string(::getpid()));
        program = root / "bin";
        first = root / "path1";
        second = root / "path2";
        for (const fs::path& folder : {program, first, second})
            fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(root); }

    static fs::path Install(const fs::path& folder, fs::perms perms = fs::perms::owner_all) {
        const fs::path file = folder / kSimplePingProgram;
        std::ofstream(file) << "#!/bin/sh\n";
        fs::permissions(file, perms);
        return file;
    }

    fs::path root;
    fs::path program, first, second;
};

TEST_F(SimplePing, NextToTheExecutableComesBeforeThePath) {
    const std::string searchPath = first.string() + ":" + second.string();
    EXPECT_EQ(FindSimplePing(program, searchPath), fs::path()) << "installed nowhere yet";

    const fs::path later = Install(second);
    EXPECT_EQ(FindSimplePing(program, searchPath), later);
    const fs::path earlier = Install(first);
    EXPECT_EQ(FindSimplePing(program, searchPath), earlier) << "PATH order";
    const fs::path own = Install(program);
    EXPECT_EQ(FindSimplePing(program, searchPath), own);
}

TEST_F(SimplePing, OnlyRunnableFilesInAbsoluteFoldersCount) {
    Install(program, fs::perms::owner_read | fs::perms::owner_write);  // not executable
    fs::create_directories(first / kSimplePingProgram);                // a folder of that name
    const fs::path runnable = Install(second);
    EXPECT_EQ(FindSimplePing(program, first.string() + "::" + second.string()), runnable);

    // Empty and relative PATH entries would mean the current directory.
    const fs::path cwd = fs::current_path();
    fs::current_path(first.parent_path());
    EXPECT_EQ(FindSimplePing(fs::path(), ":path2:./path2"), fs::path());
    fs::current_path(cwd);
}

TEST_F(SimplePing, LaunchesTheFoundToolWithoutWaitingAndAMissingOneNotAtAll) {
    const char* saved = std::getenv("PATH");
    const std::string savedPath = saved != nullptr ? saved : "";
    FakeLauncher launcher;

    setenv("PATH", first.c_str(), 1);
    app::LaunchSimplePing(launcher);
    EXPECT_TRUE(launcher.launched.empty()) << "a missing tool is silent";

    const fs::path tool = Install(first);
    app::LaunchSimplePing(launcher);
    ASSERT_EQ(launcher.launched.size(), 1u);
    EXPECT_EQ(launcher.launched[0], std::vector<std::string>{tool.string()});
    setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
}  // namespace vigilon::test
