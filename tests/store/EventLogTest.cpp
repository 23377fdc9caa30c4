#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>

#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "GatedLog.h"
#include "LogLine.h"
#include "RecordedProblems.h"
#include "SettingsFile.h"
#include "SmallTmpfs.h"
#include "StoreTestDir.h"

namespace vigilon::test {
namespace {

constexpr std::int64_t kNewYear2000 = 946684800;  // 01/01/00 00:00:00 UTC

// Ends the run, instead of stalling it, should a write hang.
struct HangGuard {
    HangGuard() { ::alarm(10); }
    ~HangGuard() { ::alarm(0); }
};

// Runs with the local time zone set to UTC so that stamps are predictable.
class EventLogTest : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        const char* tz = std::getenv("TZ");
        hadTz = tz != nullptr;
        if (hadTz) oldTz = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override {
        if (hadTz)
            ::setenv("TZ", oldTz.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
        StoreTestDir::TearDown();
    }

    EventLog MakeLog(const std::string& path = kLogFileName) {
        return EventLog(path, problems, launcher, clock);
    }

    RecordedProblems problems;
    FakeLauncher launcher;
    FakeClock clock{kNewYear2000};
    bool hadTz = false;
    std::string oldTz;
};

using EventLogWrite = EventLogTest;

TEST_F(EventLogWrite, AppendsStampedLinesEndedByCrLf) {
    EventLog log = MakeLog();
    log.Write("***** STARTED *****");
    clock.now = 952437909;  // 2000-03-07 14:05:09
    log.Write("Target timed out");
    EXPECT_EQ(ReadText(kLogFileName),
              "01/01/00 00:00:00 ***** STARTED *****\r\n"
              "03/07/00 14:05:09 Target timed out\r\n");
    EXPECT_TRUE(problems.boxes.empty());
}

TEST_F(EventLogWrite, StampUsesLocalTime) {
    ::setenv("TZ", "EST5", 1);
    ::tzset();
    MakeLog().Write("x");
    EXPECT_EQ(ReadText(kLogFileName), "12/31/99 19:00:00 x\r\n");
}

TEST_F(EventLogWrite, LineBreaksInsideTheMessageBecomeUnstampedCrLfLines) {
    MakeLog().Write("Sent to: a@example.org\nServer: smtp\n");
    EXPECT_EQ(ReadText(kLogFileName),
              "01/01/00 00:00:00 Sent to: a@example.org\r\nServer: smtp\r\n\r\n");
}

TEST_F(EventLogWrite, EmptyMessageIsStampSpaceCrLf) {
    MakeLog().Write("");
    EXPECT_EQ(ReadText(kLogFileName), "01/01/00 00:00:00 \r\n");
}

TEST_F(EventLogWrite, KeepsExistingContentAndAddsNoLineBreakBeforeTheStamp) {
    WriteBytes(kLogFileName, {'o', 'l', 'd'});
    MakeLog().Write("new");
    EXPECT_EQ(ReadText(kLogFileName), "old01/01/00 00:00:00 new\r\n");
}

TEST_F(EventLogWrite, DeletedFileIsCreatedAgain) {
    EventLog log = MakeLog();
    log.Write("one");
    std::filesystem::remove(kLogFileName);
    log.Write("two");
    EXPECT_EQ(ReadText(kLogFileName), "01/01/00 00:00:00 two\r\n");
}

TEST_F(EventLogWrite, GatedWithLoggingOffTouchesNothing) {
    EventLog log = MakeLog();
    MonitorSettings settings;
    settings.logEnabled = 0;
    GatedLog writeLog(settings, log);
    writeLog.Write("not written");
    EXPECT_FALSE(std::filesystem::exists(kLogFileName));
    settings.logEnabled = 1;  // read at each call
    writeLog.Write("written");
    EXPECT_EQ(ReadText(kLogFileName), "01/01/00 00:00:00 written\r\n");
}

TEST_F(EventLogWrite, AnotherHolderOfTheFileDropsTheLineWithAMessage) {
    WriteBytes(kLogFileName, {'a', '\r', '\n'});
    int holder = ::open(kLogFileName, O_WRONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    EventLog log = MakeLog();
    log.Write("dropped");
    log.Write("dropped too");
    EXPECT_EQ(ReadText(kLogFileName), "a\r\n");
    ASSERT_EQ(problems.boxes.size(), 2u);  // one box per lost line
    for (const auto& box : problems.boxes) {
        EXPECT_EQ(box.text, "Unable to open log file.");
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.caption, "Vigilon");
    }

    ::close(holder);
    log.Write("kept");
    EXPECT_EQ(ReadText(kLogFileName), "a\r\n01/01/00 00:00:00 kept\r\n");
    EXPECT_EQ(problems.boxes.size(), 2u);
}

TEST_F(EventLogWrite, UnopenableFileDropsTheLineWithAMessage) {
    EventLog log = MakeLog("no-such-directory/Vigilon.log");
    log.Write("lost");
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, kLogOpenFailedMessage);
}

// A full disk is reported and the caller goes on: here a settings save
// whose "SAVED SETTINGS" line cannot be written still saves.
TEST_F(EventLogWrite, FullDiskIsReportedAndTheCallerCarriesOn) {
    std::filesystem::create_directory("small");
    if (!MountSmallTmpfs("small", 8)) GTEST_SKIP() << "cannot mount a tmpfs here";
    FillUp("small/filler");
    const std::string path = "small/Vigilon.log";
    EventLog log = MakeLog(path);
    MonitorSettings settings;
    settings.targetAddress = "192.0.2.1";
    GatedLog writeLog(settings, log);

    EXPECT_TRUE(SaveSettings(kSettingsFileName, settings, problems, writeLog));
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, "Disk full while accessing " + (dir / path).string() + ".");
    EXPECT_EQ(problems.boxes[0].icon, MessageIcon::Stop);
    MonitorSettings loaded;
    EXPECT_EQ(LoadSettings(kSettingsFileName, loaded, problems), LoadResult::Loaded);
    EXPECT_EQ(loaded, settings);

    log.Write("again");  // nothing remembered: the next line tries again
    EXPECT_EQ(problems.boxes.size(), 2u);
    UnmountSmallTmpfs("small");
}

// A FIFO once hung every line, and the window with it, for good: anything
// but a regular file is told by name, at once, and not written.
TEST_F(EventLogWrite, AnythingButARegularFileIsReportedAtOnceAndNotWritten) {
    HangGuard guard;
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    std::filesystem::create_directory("folder");
    const std::string named = "Unable to write the log to " + (dir / kLogFileName).string() + ": ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"fifo", "it is a FIFO, not a regular file."},
        {"folder", "it is a folder, not a regular file."},
        {"/dev/null", "it leads to /dev/null, a device, not a regular file."},
    };
    for (const auto& [kind, problem] : cases) {
        SCOPED_TRACE(kind);
        std::filesystem::remove(kLogFileName);
        if (kind == "/dev/null")
            std::filesystem::create_symlink(kind, kLogFileName);
        else
            std::filesystem::rename(kind, kLogFileName);
        RecordedProblems seen;
        EventLog log(kLogFileName, seen, launcher, clock);
        log.Write("lost");
        const std::string cleared = log.Clear();
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].text, named + problem);
        EXPECT_EQ(cleared,
                  "Unable to clear log file " + (dir / kLogFileName).string() + ": " + problem);
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// A link the user made is the user's choice of place: lines go there, and
// clearing empties the file there.
TEST_F(EventLogWrite, TheUsersOwnLinkIsFollowed) {
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_symlink("elsewhere/events.log", kLogFileName);
    EventLog log = MakeLog();
    log.Write("one");
    EXPECT_EQ(ReadText("elsewhere/events.log"), "01/01/00 00:00:00 one\r\n");
    EXPECT_EQ(log.Clear(), "");
    EXPECT_EQ(ReadText("elsewhere/events.log"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(kLogFileName));
}

// A line that only partly fits is taken out again, so the file does not
// keep a torn line that the next entry would run into.
TEST_F(EventLogWrite, LineThatDoesNotFitLeavesTheFileAsItWas) {
    std::filesystem::create_directory("small");
    if (!MountSmallTmpfs("small", 8)) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string path = "small/Vigilon.log";
    const std::string before = std::string(4090, 'o');
    WriteBytes(path, Bytes(before.begin(), before.end()));
    FillUp("small/filler");

    MakeLog(path).Write("a line longer than the six bytes left in the page");
    const std::string after = ReadText(path);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before);
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, "Disk full while accessing " + (dir / path).string() + ".");
    UnmountSmallTmpfs("small");
}

using EventLogClear = EventLogTest;

TEST_F(EventLogClear, EmptiesAndTheNextEntryIsTheFirstLine) {
    EventLog log = MakeLog();
    log.Write("old line");
    EXPECT_EQ(log.Clear(), "");
    EXPECT_EQ(ReadText(kLogFileName), "");
    log.Write("first");
    EXPECT_EQ(ReadText(kLogFileName), "01/01/00 00:00:00 first\r\n");
    EXPECT_TRUE(problems.boxes.empty());
}

TEST_F(EventLogClear, CreatesAMissingFileEmpty) {
    EXPECT_EQ(MakeLog().Clear(), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(kLogFileName));
    EXPECT_EQ(std::filesystem::file_size(kLogFileName), 0u);
}

TEST_F(EventLogClear, FileHeldByAnotherKeepsItsContent) {
    WriteBytes(kLogFileName, {'x'});
    int holder = ::open(kLogFileName, O_WRONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    const std::string cleared = MakeLog().Clear();
    ::close(holder);
    EXPECT_EQ(ReadText(kLogFileName), "x");
    EXPECT_EQ(cleared, "Unable to clear log file");
}

TEST_F(EventLogTest, OpenInEditorStartsTheTextHandlerOnTheLogWithoutMessages) {
    MakeLog().OpenInEditor();
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], "Vigilon.log");
    EXPECT_TRUE(problems.boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(kLogFileName));
}

// Where the desktop has no handler, the program's own viewer shows the log;
// without one of those, nothing happens.
TEST_F(EventLogTest, OpenInEditorFallsBackToTheOwnViewerOnlyWhenTheHandlerFails) {
    struct Viewer : LogViewer {
        void ShowLog(const std::string& path) override { shown.push_back(path); }
        std::vector<std::string> shown;
    } viewer;
    EventLog log(kLogFileName, problems, launcher, clock, &viewer);
    log.OpenInEditor();
    EXPECT_TRUE(viewer.shown.empty()) << "not before the handler has failed";
    launcher.FailWatched();
    EXPECT_EQ(viewer.shown, std::vector<std::string>{kLogFileName});

    MakeLog().OpenInEditor();
    launcher.FailWatched();
    EXPECT_EQ(viewer.shown.size(), 1u);
    EXPECT_TRUE(problems.boxes.empty());
}

}  // namespace
}  // namespace vigilon::test
