// The store's Windows files against the real file system (under Wine in
// the cross-build's tests): the save by ReplaceFileW and MoveFileExW, the
// LockFileEx locks, binary descriptors and the left-over temporaries.
#include <fcntl.h>
#include <windows.h>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "DataFileOpen.h"
#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FileLock.h"
#include "InstanceLock.h"
#include "LogLine.h"
#include "RecordedProblems.h"
#include "RecordingLog.h"
#include "SettingsCodec.h"
#include "SettingsFile.h"
#include "StoreTestDir.h"
#include "TemporaryFiles.h"
#include "WaitingMailFile.h"

namespace vigilon::test {
namespace {

MonitorSettings Configured() {
    MonitorSettings s;
    s.targetAddress = "192.0.2.1";
    s.controlAddress = "control.example";
    s.mailFrom = "watcher@example.org";
    s.mailTo = "ops@example.org";
    s.pingFrequency = 60;
    return s;
}

class WindowsFiles : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        ::_putenv_s("TZ", "UTC0");
        ::_tzset();
    }
    RecordedProblems problems;
    RecordingLog log;
    FakeLauncher launcher;
    FakeClock clock{946684800};  // 01/01/00 00:00:00 UTC
};

TEST_F(WindowsFiles, SavesReplaceTheRecordWholeByteForByteAndLeaveOnlyIt) {
    MonitorSettings longer = Configured();
    longer.mailTo = std::string(3000, 'm');
    // A record with bytes 0x0A and 0x0D in it: a text-mode descriptor would change them.
    longer.pingFrequency = 0x0A0D;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, longer, problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(longer));

    // Over an existing file: ReplaceFileW.
    const MonitorSettings shorter = Configured();
    ASSERT_TRUE(SaveSettings(kSettingsFileName, shorter, problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(shorter));
    EXPECT_EQ(DirectoryEntries(dir), std::vector<std::string>{kSettingsFileName});

    MonitorSettings loaded;
    EXPECT_EQ(LoadSettings(kSettingsFileName, loaded, problems), LoadResult::Loaded);
    EXPECT_EQ(loaded, shorter);
    EXPECT_TRUE(problems.boxes.empty());
}

TEST_F(WindowsFiles, SaveRemovesDeadSavesTemporariesAndFailsWholeWhenItsOwnIsBlocked) {
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    const Bytes before = ReadBytes(kSettingsFileName);
    // No process has an id that is not a multiple of four.
    WriteBytes(std::string(kSettingsFileName) + ".tmp.999999", {1, 2, 3});
    // A folder in the place of this process's temporary: the save fails and
    // leaves the file as it was.
    std::filesystem::create_directory(TemporaryPathFor(kSettingsFileName));
    MonitorSettings changed = Configured();
    changed.targetAddress = "198.51.100.7";
    EXPECT_FALSE(SaveSettings(kSettingsFileName, changed, problems, log));
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_NE(problems.boxes[0].text.find("Unable to save the settings to "), std::string::npos);
    EXPECT_EQ(ReadBytes(kSettingsFileName), before);
    EXPECT_FALSE(std::filesystem::exists(std::string(kSettingsFileName) + ".tmp.999999"));

    std::filesystem::remove(TemporaryPathFor(kSettingsFileName));
    EXPECT_TRUE(SaveSettings(kSettingsFileName, changed, problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(changed));
}

TEST_F(WindowsFiles, AFolderIsNeitherLoadedNorLockedNorLogged) {
    std::filesystem::create_directory(kSettingsFileName);
    MonitorSettings s;
    EXPECT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::Damaged);
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_NE(problems.boxes[0].text.find("is a folder, not a settings file."), std::string::npos);

    std::filesystem::create_directory(kLockFileName);
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire(kLockFileName), LockResult::Failed);
    EXPECT_NE(lock.Error().find("it is a folder, not a regular file"), std::string::npos);
}

TEST_F(WindowsFiles, OneFolderOneLockUntilItsHolderGoes) {
    auto first = std::make_unique<InstanceLock>();
    ASSERT_EQ(first->Acquire(kLockFileName), LockResult::Held) << first->Error();
    InstanceLock second;
    EXPECT_EQ(second.Acquire(kLockFileName), LockResult::Busy);
    EXPECT_FALSE(second.Held());
    first.reset();
    EXPECT_EQ(second.Acquire(kLockFileName), LockResult::Held) << second.Error();
    EXPECT_TRUE(std::filesystem::is_regular_file(kLockFileName));
}

TEST_F(WindowsFiles, LogLinesEndInOneCrLfAndALockedLogIsReportedNotWaitedFor) {
    EventLog eventLog(kLogFileName, problems, launcher, clock);
    eventLog.Write("***** STARTED *****");
    eventLog.Write("two\nlines");
    EXPECT_EQ(ReadText(kLogFileName),
              "01/01/00 00:00:00 ***** STARTED *****\r\n"
              "01/01/00 00:00:00 two\r\nlines\r\n");
    EXPECT_TRUE(problems.boxes.empty());

    // Another opening holds the log's lock, as a second copy writing would.
    DataFile holder = OpenDataFile(kLogFileName, O_RDWR);
    ASSERT_EQ(holder.state, DataFile::State::Open);
    ASSERT_EQ(LockWholeFile(holder.fd.Get()), 0);
    eventLog.Write("not written");
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, kLogOpenFailedMessage);
    holder.fd.Close();
    eventLog.Write("written");
    EXPECT_EQ(ReadText(kLogFileName).substr(ReadText(kLogFileName).size() - 27),
              "01/01/00 00:00:00 written\r\n");
}

TEST_F(WindowsFiles, WaitingMailsLoadAsSavedAndNoneLeavesNoFile) {
    WaitingMailFile store(kWaitingMailFileName);
    AlertEvent mail;
    mail.time = 952437909;
    mail.outageStart = 952437000;
    mail.targetAddress = "192.0.2.1";
    mail.targetResult = "Request timed out.";
    mail.controlResult = "Reply from 198.51.100.1: bytes=32 time<1ms TTL=64";
    mail.mailFrom = "watcher@example.org";
    mail.mailTo = "ops@example.org;duty@example.org";
    AlertEvent second = mail;
    second.kind = AlertKind::Recovery;
    EXPECT_EQ(store.Save({mail, second}), "");
    std::string error;
    EXPECT_EQ(store.Load(error), (std::vector<AlertEvent>{mail, second}));
    EXPECT_EQ(error, "");
    EXPECT_EQ(store.Save({}), "");
    EXPECT_FALSE(std::filesystem::exists(kWaitingMailFileName));
    EXPECT_TRUE(store.Load(error).empty());
    EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace vigilon::test
