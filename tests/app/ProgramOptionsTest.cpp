// The command line, the data folder and the folder's lock, settled before
// the toolkit starts: the rules, then the real program without a display.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include "ChildProcess.h"
#include "CommandLine.h"
#include "DataFolder.h"
#include "DisplayCheck.h"
#include "ProgramStart.h"
#include "SmallTmpfs.h"
#include "TempWorkDir.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;
using app::CommandLine;
using ::testing::StartsWith;
using Action = CommandLine::Action;

unsigned ModeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(CommandLine, ReadsTheFolderOptionsAndAnswersHelpAndVersionAtOnce) {
    EXPECT_EQ(app::ParseCommandLine({}).action, Action::Run);
    EXPECT_EQ(app::ParseCommandLine({}).dataDir, "");
    EXPECT_EQ(app::ParseCommandLine({"--data-dir", "a b"}).dataDir, "a b");
    EXPECT_EQ(app::ParseCommandLine({"--data-dir=/x/y"}).dataDir, "/x/y");
    const CommandLine user = app::ParseCommandLine({"--user-data"});
    EXPECT_EQ(user.action, Action::Run);
    EXPECT_TRUE(user.userData);
    EXPECT_EQ(user.dataDir, "");

    for (const char* help : {"-h", "--help"})
        EXPECT_EQ(app::ParseCommandLine({help}).action, Action::ShowHelp);
    for (const char* version : {"-V", "--version"})
        EXPECT_EQ(app::ParseCommandLine({"--user-data", version, "--bogus"}).action,
                  Action::ShowVersion);
    // The first mistake ends the reading, a later --help included.
    EXPECT_EQ(app::ParseCommandLine({"--bogus", "--help"}).action, Action::Refuse);
}

TEST(CommandLine, RefusesEveryMistakeWithTheReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"example.org"}, "unexpected argument 'example.org'"},
        {{"-"}, "unexpected argument '-'"},
        {{"--data-dir"}, "option '--data-dir' needs a folder"},
        {{"--data-dir="}, "option '--data-dir' needs a folder"},
        {{"--data-dir", ""}, "option '--data-dir' needs a folder"},
        {{"--data-dir=a", "--data-dir=b"},
         "only one of --data-dir and --user-data may be given, once"},
        {{"--user-data", "--data-dir", "a"},
         "only one of --data-dir and --user-data may be given, once"},
        {{"--data-dir", "a", "--user-data"},
         "only one of --data-dir and --user-data may be given, once"},
        {{"--user-data=yes"}, "option '--user-data' takes no value"},
        {{"--help=all"}, "option '--help' takes no value"},
    };
    for (const auto& [args, error] : mistakes) {
        const CommandLine line = app::ParseCommandLine(args);
        EXPECT_EQ(line.action, Action::Refuse) << args[0];
        EXPECT_EQ(line.error, error) << args[0];
    }
}

TEST(CommandLine, ReadsTheModesWithoutAWindowAndTheMetricsOptions) {
    const CommandLine headless = app::ParseCommandLine(
        {"--headless", "--user-data", "--metrics-listen", ":9101", "--metrics-file=/m.prom"});
    EXPECT_EQ(headless.action, Action::Run);
    EXPECT_EQ(headless.mode, CommandLine::Mode::Headless);
    EXPECT_TRUE(headless.userData);
    EXPECT_EQ(headless.metricsListen, ":9101");
    EXPECT_EQ(headless.metricsFile, "/m.prom");
    EXPECT_EQ(app::ParseCommandLine({"--metrics-listen=[::1]:80"}).mode, CommandLine::Mode::Window);

    // --set takes every NAME=VALUE word up to the next option, repeated or not.
    const CommandLine set = app::ParseCommandLine(
        {"--set", "targetAddress=a=b", "mailTo=", "--data-dir", "d", "--set", "logEnabled=0"});
    EXPECT_EQ(set.mode, CommandLine::Mode::SetSettings);
    EXPECT_EQ(set.assignments,
              (std::vector<std::string>{"targetAddress=a=b", "mailTo=", "logEnabled=0"}));
    EXPECT_EQ(set.dataDir, "d");
    EXPECT_EQ(app::ParseCommandLine({"--show-settings"}).mode, CommandLine::Mode::ShowSettings);

    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--set"}, "option '--set' needs NAME=VALUE"},
        {{"--set", "--headless"}, "option '--set' needs NAME=VALUE"},
        {{"--set", "=x"}, "option '--set' needs NAME=VALUE"},
        {{"--headless", "--show-settings"},
         "only one of --headless, --set and --show-settings may be given"},
        {{"--set", "a=1", "--headless"},
         "only one of --headless, --set and --show-settings may be given"},
        {{"--headless=yes"}, "option '--headless' takes no value"},
        {{"--metrics-listen"}, "option '--metrics-listen' needs HOST:PORT"},
        {{"--metrics-listen", "9101"}, "--metrics-listen: '9101' is not HOST:PORT"},
        {{"--metrics-listen", ":0"}, "--metrics-listen: ':0' has no port between 1 and 65535"},
        {{"--metrics-listen", ":65536"},
         "--metrics-listen: ':65536' has no port between 1 and 65535"},
        {{"--metrics-listen", "example.org:80"},
         "--metrics-listen: 'example.org' is no IPv4 address (names are not looked up)"},
        {{"--metrics-listen", "[::1:80"},
         "--metrics-listen: '[::1' is no IPv4 address (names are not looked up)"},
        {{"--metrics-listen", "[1.2.3.4]:80"}, "--metrics-listen: '[1.2.3.4]' is no IPv6 address"},
        {{"--metrics-file="}, "option '--metrics-file' needs a path"},
        {{"--show-settings", "--metrics-file", "x"},
         "--metrics-listen and --metrics-file go with monitoring, not with --set or "
         "--show-settings"},
    };
    for (const auto& [args, error] : mistakes) {
        const CommandLine line = app::ParseCommandLine(args);
        EXPECT_EQ(line.action, Action::Refuse) << args[0];
        EXPECT_EQ(line.error, error) << args[0];
    }
}

TEST(DataFolder, TheUserFolderFollowsTheXdgRules) {
    EXPECT_EQ(app::UserDataFolder("/state", "/home/u"), "/state/vigilon");
    // Unset, empty or relative: the default under HOME.
    for (const char* stateHome : {static_cast<const char*>(nullptr), "", "state"})
        EXPECT_EQ(app::UserDataFolder(stateHome, "/home/u"), "/home/u/.local/state/vigilon");
    EXPECT_EQ(app::UserDataFolder(nullptr, nullptr), "");
    EXPECT_EQ(app::UserDataFolder("", "relative"), "");
}

TEST(DataFolder, IsMadePrivateWithItsParentsAndEntered) {
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    fs::create_directory("kept");
    fs::permissions("kept", fs::perms(0755));

    EXPECT_EQ(app::EnterDataFolder("kept/new/deeper"), "");
    EXPECT_EQ(fs::current_path(), dir.path / "kept/new/deeper");
    EXPECT_EQ(ModeOf(dir.path / "kept/new"), 0700u);
    EXPECT_EQ(ModeOf(dir.path / "kept/new/deeper"), 0700u);
    EXPECT_EQ(ModeOf(dir.path / "kept"), 0755u) << "an existing folder keeps its mode";

    // Entering an existing one changes nothing in it.
    EXPECT_EQ(app::EnterDataFolder(dir.path / "kept"), "");
    EXPECT_EQ(fs::current_path(), dir.path / "kept");
    EXPECT_EQ(ModeOf(dir.path / "kept"), 0755u);

    std::ofstream(dir.path / "file") << "x";
    EXPECT_EQ(app::EnterDataFolder(dir.path / "file"),
              "cannot use the data folder " + (dir.path / "file").string() + ": Not a directory");
    EXPECT_EQ(
        app::EnterDataFolder(dir.path / "file/sub"),
        "cannot create the data folder " + (dir.path / "file/sub").string() + ": Not a directory");
    EXPECT_EQ(fs::current_path(), dir.path / "kept") << "a failure stays where it was";
}

// Only the folders made on the way go, innermost first; the place that
// refused stays as it was, and the start stays where it was.
TEST(DataFolder, AFolderThatCannotBeMadeLeavesNoneOfItsParentsBehind) {
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    fs::create_directory("read-only");
    std::ofstream(dir.path / "read-only/kept") << "x";
    // Root ignores permission bits; a read-only mount stops root as well.
    if (::geteuid() != 0)
        fs::permissions("read-only", fs::perms(0555));
    else if (!MakeReadOnly((dir.path / "read-only").string()))
        GTEST_SKIP() << "cannot make a read-only mount here";

    const std::string problem = app::EnterDataFolder("new/deeper/../../read-only/data");
    EXPECT_THAT(problem,
                StartsWith("cannot create the data folder new/deeper/../../read-only/data: "));
    EXPECT_NE(problem.find(::geteuid() == 0 ? "Read-only file system" : "Permission denied"),
              std::string::npos);
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path))
        left.push_back(entry.path().string());
    EXPECT_EQ(left, (std::vector<std::string>{(dir.path / "read-only").string(),
                                              (dir.path / "read-only/kept").string()}));
    EXPECT_EQ(fs::current_path(), dir.path);

    if (::geteuid() == 0) UnmountSmallTmpfs((dir.path / "read-only").string());
    fs::permissions("read-only", fs::perms(0755));
}

class ProgramStart : public ::testing::Test {
protected:
    app::StartPlan Prepare(const std::vector<std::string>& args, InstanceLock& lock) {
        out.str("");
        err.str("");
        return app::PrepareStart(args, variables, lock, out, err);
    }

    TempWorkDir dir;
    std::string stateHome = (dir.path / "state").string();
    app::UserFolderVariables variables{stateHome.c_str(), "/nonexistent"};
    std::ostringstream out, err;
};

TEST_F(ProgramStart, AnswersAndMistakesEndBeforeAnyFolderIsTouched) {
    InstanceLock lock;
    app::StartPlan plan = Prepare({"--user-data", "--help"}, lock);
    EXPECT_EQ(plan.next, app::StartPlan::Next::End);
    EXPECT_EQ(plan.exitCode, 0);
    EXPECT_EQ(out.str(), app::UsageText());
    EXPECT_EQ(err.str(), "");

    plan = Prepare({"--user-data", "--what"}, lock);
    EXPECT_EQ(plan.exitCode, 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "vigilon: unknown option '--what'\nTry 'vigilon --help' for more information.\n");

    EXPECT_FALSE(lock.Held());
    EXPECT_FALSE(fs::exists(dir.path / "state"));
    EXPECT_FALSE(fs::exists(dir.path / kLockFileName));
    EXPECT_EQ(fs::current_path(), dir.path);
}

TEST_F(ProgramStart, TheUserFolderIsMadeEnteredAndLockedAndASecondCopyIsTurnedAway) {
    InstanceLock first;
    const app::StartPlan plan = Prepare({"--user-data"}, first);
    EXPECT_EQ(plan.next, app::StartPlan::Next::RunMonitor);
    EXPECT_EQ(err.str(), "");
    const fs::path folder = dir.path / "state/vigilon";
    EXPECT_EQ(fs::current_path(), folder);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(fs::exists(folder / kLockFileName));

    // The same folder by another spelling, from elsewhere.
    fs::current_path(dir.path);
    InstanceLock second;
    const app::StartPlan refused = Prepare({"--data-dir", "state/../state/vigilon"}, second);
    EXPECT_EQ(refused.next, app::StartPlan::Next::TellRunning);
    EXPECT_EQ(refused.exitCode, 1);
    // Named as the system names it, whichever spelling reached it.
    EXPECT_THAT(refused.refusal, StartsWith("Vigilon is already running in the folder\n" +
                                            folder.string() + "\n\n"));
    EXPECT_EQ(err.str(), "vigilon: already running in " + folder.string() + "\n");
    EXPECT_FALSE(second.Held());
}

// --set beside a running monitor must work: it takes no lock.
TEST_F(ProgramStart, TheSettingsCommandsEnterTheFolderButLeaveTheLockToTheMonitor) {
    InstanceLock monitor;
    ASSERT_EQ(Prepare({"--data-dir", "d", "--headless"}, monitor).next,
              app::StartPlan::Next::RunMonitor);
    fs::current_path(dir.path);
    InstanceLock settings;
    const app::StartPlan plan = Prepare({"--data-dir", "d", "--set", "a=1"}, settings);
    EXPECT_EQ(plan.next, app::StartPlan::Next::RunSettings);
    EXPECT_EQ(plan.line.assignments, std::vector<std::string>{"a=1"});
    EXPECT_EQ(fs::current_path(), dir.path / "d");
    EXPECT_FALSE(settings.Held());
}

TEST_F(ProgramStart, WithoutAUserFolderTheStartEndsWithTheReason) {
    InstanceLock lock;
    variables = {nullptr, nullptr};
    EXPECT_EQ(Prepare({"--user-data"}, lock).exitCode, 1);
    EXPECT_EQ(err.str(), "vigilon: --user-data: neither XDG_STATE_HOME nor HOME names a folder\n");
    EXPECT_FALSE(lock.Held());
}

// The real program, with no display at all.
class ProgramWithoutDisplay : public ::testing::Test {
protected:
    ChildProcess::Environment noDisplay{{"DISPLAY", std::nullopt},
                                        {"WAYLAND_DISPLAY", std::nullopt}};
    TempWorkDir dir;
};

TEST_F(ProgramWithoutDisplay, AnswersHelpVersionAndMistakesWithoutAWindow) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    };
    const std::vector<Case> cases = {
        {{"--version"}, 0, "Vigilon " VIGILON_VERSION "\n", ""},
        {{"--help"}, 0, app::UsageText(), ""},
        {{"--colour=blue"},
         2,
         "",
         "vigilon: unknown option '--colour=blue'\nTry 'vigilon --help' for more information.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv{VIGILON_PROGRAM};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ChildProcess program(argv, dir.path.string(), noDisplay, (dir.path / "program").string());
        ASSERT_TRUE(program.Started());
        EXPECT_EQ(program.Wait(std::chrono::seconds(10)), c.status) << c.args[0];
        EXPECT_EQ(program.Output(), c.out) << c.args[0];
        EXPECT_EQ(program.Errors(), c.err) << c.args[0];
    }
    EXPECT_FALSE(fs::exists(dir.path / kLockFileName));
}

TEST_F(ProgramWithoutDisplay, MakesAndLocksTheDataFolderBeforeTheToolkitStarts) {
    ChildProcess program({VIGILON_PROGRAM, "--data-dir", "new/data"}, dir.path.string(), noDisplay,
                         (dir.path / "program").string());
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Wait(std::chrono::seconds(20)), app::kNoDisplayExitCode);
    EXPECT_EQ(
        program.Errors(),
        "vigilon: no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n")
        << "one line, no toolkit abort";
    EXPECT_EQ(ModeOf(dir.path / "new/data"), 0700u);
    EXPECT_TRUE(fs::exists(dir.path / "new/data" / kLockFileName));
    EXPECT_FALSE(fs::exists(dir.path / "new/data/Vigilon.log"));
}

TEST_F(ProgramWithoutDisplay, ADisplayThatIsNotThereIsNamed) {
    ChildProcess program({VIGILON_PROGRAM}, dir.path.string(),
                         {{"DISPLAY", ":4321"}, {"WAYLAND_DISPLAY", std::nullopt}},
                         (dir.path / "program").string());
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Wait(std::chrono::seconds(20)), app::kNoDisplayExitCode);
    EXPECT_EQ(program.Errors(), "vigilon: cannot open the display (DISPLAY=:4321)\n");
}

}  // namespace
}  // namespace vigilon::test
