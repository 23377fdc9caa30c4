#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "RecordedProblems.h"
#include "RecordingLog.h"
#include "SettingsCodec.h"
#include "SettingsFile.h"
#include "SmallTmpfs.h"
#include "StoreTestDir.h"
#include "TemporaryFiles.h"

namespace vigilon::test {
namespace {

MonitorSettings Small() {
    MonitorSettings s;
    s.targetAddress = "192.0.2.1";
    s.mailTo = "ops@example.org";
    return s;
}

MonitorSettings Large(std::size_t textSize) {
    MonitorSettings s = Small();
    s.targetAddress = "198.51.100.7";
    s.mailTo = std::string(textSize, 'r');
    s.pingFrequency = 120;
    return s;
}

// A failed save must leave the previous file exactly as it was, tell the
// user which file failed, and leave no temporary file behind.
class FailedSave : public StoreTestDir {
protected:
    void ExpectOldFileKept(const std::string& path, const std::string& reason) {
        RecordedProblems setup;
        RecordingLog log;
        ASSERT_TRUE(SaveSettings(path, Small(), setup, log));
        const Bytes before = ReadBytes(path);
        Break();

        RecordedProblems problems;
        std::size_t boxesAtLogTime = 99;
        struct OrderLog : LogWriter {
            std::function<void()> onWrite;
            void Write(const std::string&) override { onWrite(); }
        } orderLog;
        orderLog.onWrite = [&] { boxesAtLogTime = problems.boxes.size(); };

        EXPECT_FALSE(SaveSettings(path, Large(20000), problems, orderLog));
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_FALSE(std::filesystem::is_regular_file(TemporaryPathFor(path)));
        EXPECT_EQ(boxesAtLogTime, 0u) << "the log line comes before the failure message";
        ASSERT_EQ(problems.boxes.size(), 1u);
        const std::string absolute = (dir / path).string();
        EXPECT_NE(problems.boxes[0].text.find(absolute), std::string::npos)
            << problems.boxes[0].text;
        EXPECT_NE(problems.boxes[0].text.find(reason), std::string::npos) << problems.boxes[0].text;

        MonitorSettings loaded;
        EXPECT_EQ(LoadSettings(path, loaded, problems), LoadResult::Loaded);
        EXPECT_EQ(loaded, Small());
    }

    std::function<void()> Break = [] {};
};

TEST_F(FailedSave, FullFileSystemKeepsTheOldFile) {
    std::filesystem::create_directory("small");
    if (!MountSmallTmpfs("small", 16)) GTEST_SKIP() << "cannot mount a tmpfs here";
    Break = [] { FillUp("small/filler"); };
    ExpectOldFileKept("small/Vigilon.dat", "No space left on device");
    UnmountSmallTmpfs("small");
}

// A folder cannot be removed as a left-over, and the exclusive create
// never opens an existing name.
TEST_F(FailedSave, OccupiedTemporaryNameKeepsTheOldFile) {
    Break = [] { std::filesystem::create_directory(TemporaryPathFor(kSettingsFileName)); };
    ExpectOldFileKept(kSettingsFileName, "File exists");
    EXPECT_TRUE(std::filesystem::is_directory(TemporaryPathFor(kSettingsFileName)));
}

// A folder that is merely not writable gets an in-place write instead
// (SettingsPermissionTest); a read-only mount refuses the file itself.
TEST_F(FailedSave, ReadOnlyMountKeepsTheOldFile) {
    std::filesystem::create_directory("locked");
    if (::geteuid() != 0) GTEST_SKIP() << "a read-only mount needs root";
    Break = [] { ASSERT_TRUE(MakeReadOnly("locked")) << "cannot make a read-only mount"; };
    ExpectOldFileKept("locked/Vigilon.dat", "Read-only file system");
    UnmountSmallTmpfs("locked");
}

// A process killed at any moment during repeated saves leaves a file that
// loads whole: either the record before or the record after.
class InterruptedSave : public StoreTestDir {};

TEST_F(InterruptedSave, KilledDuringSavesNeverLeavesADamagedFile) {
    const MonitorSettings first = Small();
    const MonitorSettings second = Large(300000);
    RecordedProblems problems;
    RecordingLog log;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, first, problems, log));

    std::minstd_rand random(20240601);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    for (int round = 0; round < 25; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RecordedProblems childProblems;
            RecordingLog childLog;
            for (int i = 0;; ++i)
                SaveSettings(kSettingsFileName, i % 2 ? first : second, childProblems, childLog);
        }
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        SCOPED_TRACE("round " + std::to_string(round));
        MonitorSettings loaded;
        ASSERT_EQ(LoadSettings(kSettingsFileName, loaded, problems), LoadResult::Loaded);
        EXPECT_TRUE(loaded == first || loaded == second);
        EXPECT_TRUE(problems.boxes.empty());
    }
    // Whatever the killed saves left behind, the next save clears it.
    ASSERT_TRUE(SaveSettings(kSettingsFileName, first, problems, log));
    EXPECT_EQ(DirectoryEntries(dir), std::vector<std::string>{kSettingsFileName});
}

// The temporary file's name is predictable, so anything may be planted
// there; the save removes the name and creates its own file, exclusively.
TEST_F(InterruptedSave, PlantedLinkAtTheTemporaryNameIsNeverWrittenThrough) {
    const Bytes precious = {'k', 'e', 'e', 'p'};
    WriteBytes("victim", precious);
    const std::string temporary = TemporaryPathFor(kSettingsFileName);
    RecordedProblems problems;
    RecordingLog log;
    for (bool hard : {true, false}) {
        SCOPED_TRACE(hard ? "hard link" : "symbolic link");
        if (hard) {
            std::filesystem::create_hard_link("victim", temporary);
        } else {
            std::filesystem::create_symlink("victim", temporary);
        }
        ASSERT_TRUE(SaveSettings(kSettingsFileName, Small(), problems, log));
        EXPECT_EQ(ReadBytes("victim"), precious);
        EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(Small()));
        EXPECT_EQ(DirectoryEntries(dir), (std::vector<std::string>{kSettingsFileName, "victim"}));
    }
}

// Only the names of saves that can no longer finish are removed: another
// running copy of the program may be midway through its own save.
TEST_F(InterruptedSave, LeftOversOfEndedSavesAreRemoved) {
    pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const std::string prefix = std::string(kSettingsFileName) + ".tmp.";
    const std::string endedName = prefix + std::to_string(ended);
    const std::string runningName = prefix + std::to_string(running);
    for (const std::string& name :
         {endedName, runningName, prefix + "x1", std::string("Other.dat.tmp.1")}) {
        WriteBytes(name, {1, 2, 3});
    }

    RecordedProblems problems;
    RecordingLog log;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Small(), problems, log));
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
    std::vector<std::string> expected = {"Other.dat.tmp.1", kSettingsFileName, prefix + "x1",
                                         runningName};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(DirectoryEntries(dir), expected);
}

}  // namespace
}  // namespace vigilon::test
