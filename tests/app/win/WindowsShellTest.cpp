// The shell's Windows services against the real system (under Wine in the
// cross-build's tests): the user's folder, the data folder made and
// entered, the program's own folder and its search list, and the launcher
// with Windows' command-line quoting.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "DesktopLauncher.h"
#include "FilePaths.h"
#include "ProgramFolders.h"
#include "QueuedDispatcher.h"
#include "SimplePing.h"
#include "Utf16.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;

class WindowsShell : public ::testing::Test {
protected:
    void SetUp() override {
        original = fs::current_path();
        dir = fs::temp_directory_path() /
              ("vigilon-shell-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::current_path(original);
        fs::remove_all(dir);
    }
    fs::path original;
    fs::path dir;
};

TEST_F(WindowsShell, UserDataIsVigilonUnderLocalAppDataAndTheFolderIsMadeAndEntered) {
    app::UserFolderVariables variables;
    EXPECT_EQ(app::UserDataFolder(variables), fs::path()) << "no LOCALAPPDATA, no folder";
    variables.localAppData = "relative\\folder";
    EXPECT_EQ(app::UserDataFolder(variables), fs::path());

    // A name outside the ANSI code page survives the way from UTF-8.
    const std::string local = PathText(dir) + "\\Local \xC3\xA9t\xC3\xA9";
    variables.localAppData = local.c_str();
    const fs::path folder = app::UserDataFolder(variables);
    EXPECT_EQ(PathText(folder), local + "\\Vigilon");

    EXPECT_EQ(app::EnterDataFolder(folder), "");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), folder));
    fs::current_path(original);
    EXPECT_EQ(app::EnterDataFolder(folder), "") << "an existing folder is entered as it is";

    // A name Windows refuses: the error names it, and what this call made goes.
    const std::string problem = app::EnterDataFolder(dir / "made" / "deeper" / "in<valid");
    EXPECT_NE(problem.find("cannot create the data folder"), std::string::npos) << problem;
    EXPECT_FALSE(fs::exists(dir / "made"));
}

TEST_F(WindowsShell, TheProgramsFolderAndTheSearchListAreWindows) {
    const fs::path here = app::ExecutableFolder();
    ASSERT_FALSE(here.empty());
    EXPECT_TRUE(fs::exists(here / "app_tests.exe")) << PathText(here);

    EXPECT_EQ(app::SearchFolders("C:\\one;relative;;D:\\two"),
              (std::vector<fs::path>{"C:\\one", "D:\\two"}));

    fs::create_directories(dir / "tools");
    std::ofstream(dir / "tools" / "ravelin.exe") << "MZ";
    EXPECT_EQ(app::FindSimplePing({}, PathText(dir / "none") + ";" + PathText(dir / "tools")),
              dir / "tools" / "ravelin.exe");
}

// Polls: the launched programs end in their own time.
bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 600; ++i) {
        if (done()) return true;
        ::Sleep(50);
    }
    return done();
}

// What the launched program read as its arguments.
std::vector<std::string> ArgumentsRead(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> args;
    std::string all = Utf16LeToUtf8(bytes);
    for (std::size_t end; (end = all.find('\n')) != std::string::npos; all.erase(0, end + 1))
        args.push_back(all.substr(0, end));
    return args;
}

TEST_F(WindowsShell, LaunchedProgramsGetTheirArgumentsWholeAndFailuresAreReported) {
    QueuedDispatcher windowThread;
    DesktopLauncher launcher(windowThread);
    const std::string echo = PathText(app::ExecutableFolder() / "arguments_echo.exe");
    const fs::path written = dir / "args";
    const std::vector<std::string> awkward = {
        "plain",           "two words",  "", "a \"quote\"", "C:\\trailing\\", "C:\\with space\\",
        "back\\\\\"slash", "caf\xC3\xA9"};

    int failures = 0;
    std::vector<std::string> line = {echo, PathText(written), "0"};
    line.insert(line.end(), awkward.begin(), awkward.end());
    launcher.LaunchWatched(line, [&] { ++failures; });
    launcher.LaunchWatched({echo, PathText(dir / "other"), "3"}, [&] { failures += 10; });
    launcher.LaunchWatched({PathText(dir / "no-such-program.exe")}, [&] { failures += 100; });
    ASSERT_TRUE(windowThread.RunUntil([&] { return failures == 110; }, std::chrono::seconds(30)))
        << "failures reported: " << failures;
    EXPECT_TRUE(Eventually([&] { return ArgumentsRead(written) == awkward; }))
        << "the first read " << ArgumentsRead(written).size() << " arguments";

    // A document no program handles: reported, with no "Open with" box.
    std::ofstream(dir / "log.vigilon-no-handler") << "x";
    launcher.OpenWatched(PathText(dir / "log.vigilon-no-handler"), [&] { failures += 1000; });
    EXPECT_TRUE(windowThread.RunUntil([&] { return failures == 1110; }, std::chrono::seconds(30)))
        << "failures reported: " << failures;

    // Launch waits for nothing and says nothing; the program still runs.
    launcher.Launch({echo, PathText(dir / "unwatched"), "0", "x"});
    EXPECT_TRUE(Eventually([&] { return ArgumentsRead(dir / "unwatched").size() == 1; }));
    windowThread.RunPosted();
    EXPECT_EQ(failures, 1110);
}

}  // namespace
}  // namespace vigilon::test
