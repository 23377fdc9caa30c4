#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "RecordedProblems.h"
#include "RecordingLog.h"
#include "SettingsCodec.h"
#include "SettingsFile.h"
#include "StoreTestDir.h"

namespace vigilon::test {
namespace {

MonitorSettings Configured() {
    MonitorSettings s;
    s.targetAddress = "192.0.2.1";
    s.controlAddress = "control.example";
    s.mailFrom = "watcher@example.org";
    s.mailTo = "ops@example.org";
    s.smtpServer1 = "smtp.example.org";
    s.pingFrequency = 60;
    return s;
}

// Calls back on every line, to look at the world at the moment of logging.
class ProbingLog : public LogWriter {
public:
    explicit ProbingLog(std::function<void(const std::string&)> onWrite)
        : onWrite_(std::move(onWrite)) {}
    void Write(const std::string& message) override { onWrite_(message); }

private:
    std::function<void(const std::string&)> onWrite_;
};

// Ends the run, instead of stalling it, should a file operation hang.
struct HangGuard {
    HangGuard() { ::alarm(10); }
    ~HangGuard() { ::alarm(0); }
};

class SettingsFile : public StoreTestDir {
protected:
    RecordedProblems problems;
    RecordingLog log;
};

TEST_F(SettingsFile, MissingFileIsAFirstRunWithoutMessage) {
    MonitorSettings s = Configured();
    EXPECT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::NotFound);
    EXPECT_TRUE(problems.boxes.empty());
    EXPECT_EQ(s, Configured());
}

TEST_F(SettingsFile, SavedRecordLoadsBackAndLeavesOnlyTheFile) {
    MonitorSettings saved = Configured();
    saved.pingFrequency = 5;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, saved, problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(saved));
    EXPECT_EQ(DirectoryEntries(dir), std::vector<std::string>{kSettingsFileName});

    MonitorSettings loaded;
    EXPECT_EQ(LoadSettings(kSettingsFileName, loaded, problems), LoadResult::Loaded);
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(problems.boxes.empty());
}

TEST_F(SettingsFile, SavingTwiceWritesIdenticalBytes) {
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    Bytes first = ReadBytes(kSettingsFileName);
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), first);
}

TEST_F(SettingsFile, ShorterRecordReplacesALongerFileWhole) {
    MonitorSettings longer = Configured();
    longer.mailTo = std::string(5000, 'm');
    ASSERT_TRUE(SaveSettings(kSettingsFileName, longer, problems, log));
    ASSERT_TRUE(SaveSettings(kSettingsFileName, MonitorSettings{}, problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName).size(), 26u);
}

TEST_F(SettingsFile, FileEndingInsideTheFifthFieldLoadsFourAndSaysSo) {
    Bytes full = EncodeSettings(Configured());
    // target (1+9), frequency 4, control (1+15), sender (1+19), then 2 bytes of mailTo
    WriteBytes(kSettingsFileName, Bytes(full.begin(), full.begin() + 52));
    MonitorSettings s;
    s.mailTo = "kept";
    s.smtpServer1 = "kept too";
    EXPECT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::Damaged);
    EXPECT_EQ(s.targetAddress, "192.0.2.1");
    EXPECT_EQ(s.pingFrequency, 60);
    EXPECT_EQ(s.mailFrom, "watcher@example.org");
    EXPECT_EQ(s.mailTo, "kept");
    EXPECT_EQ(s.smtpServer1, "kept too");
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text,
              "An attempt was made to access an unnamed file past its end.");
    EXPECT_EQ(problems.boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(problems.boxes[0].question);
}

TEST_F(SettingsFile, HugeLengthPrefixIsDamageNotACrash) {
    WriteBytes(kSettingsFileName, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x'});
    MonitorSettings s = Configured();
    EXPECT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::Damaged);
    EXPECT_EQ(s, Configured());
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, kEndOfFileMessage);
}

TEST_F(SettingsFile, WideTextLoadsAndIsSavedInThePlainForm) {
    Bytes file = {0xFF, 0xFE, 0xFF, 0x02, 'o', 0x00, 0xFC, 0x00};  // "oü"
    Bytes rest = EncodeSettings(MonitorSettings{});
    file.insert(file.end(), rest.begin() + 1, rest.end());
    WriteBytes(kSettingsFileName, file);
    MonitorSettings s;
    ASSERT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::Loaded);
    ASSERT_TRUE(SaveSettings(kSettingsFileName, s, problems, log));
    Bytes expected = {0x03, 'o', 0xC3, 0xBC};
    expected.insert(expected.end(), rest.begin() + 1, rest.end());
    EXPECT_EQ(ReadBytes(kSettingsFileName), expected);
}

TEST_F(SettingsFile, SaveLogsBeforeTheFileIsWrittenAndOnlyWhenLoggingIsOn) {
    MonitorSettings old;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, old, problems, log));
    ASSERT_EQ(log.lines, std::vector<std::string>{"SAVED SETTINGS"});

    std::vector<Bytes> seenAtLogTime;
    ProbingLog probe([&](const std::string& line) {
        EXPECT_EQ(line, "SAVED SETTINGS");
        seenAtLogTime.push_back(ReadBytes(kSettingsFileName));
    });
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, probe));
    ASSERT_EQ(seenAtLogTime.size(), 1u);
    EXPECT_EQ(seenAtLogTime[0], EncodeSettings(old));

    MonitorSettings quiet = Configured();
    quiet.logEnabled = 0;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, quiet, problems, probe));
    EXPECT_EQ(seenAtLogTime.size(), 1u);
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(quiet));
}

// The file may hold a mail server's password: a new one is its owner's
// alone, an existing one keeps what its owner chose.
TEST_F(SettingsFile, ANewFileIsPrivateAndAnOldOneKeepsItsPermissions) {
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    ::umask(oldMask);
    struct stat info {};
    ASSERT_EQ(::stat(kSettingsFileName, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    ASSERT_EQ(::chmod(kSettingsFileName, 0644), 0);
    ASSERT_TRUE(SaveSettings(kSettingsFileName, MonitorSettings{}, problems, log));
    ASSERT_EQ(::stat(kSettingsFileName, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

// A FIFO once hung the start, a link to /dev/zero ran it out of memory:
// only a regular file is opened, and anything else is named for what it is.
TEST_F(SettingsFile, OnlyARegularFileIsRead) {
    HangGuard guard;
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    std::filesystem::create_directory("folder");
    const std::string named = (dir / kSettingsFileName).string() + " is ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"fifo", "a FIFO"}, {"folder", "a folder"}, {"/dev/zero", "a device"}};
    for (const auto& [kind, what] : cases) {
        SCOPED_TRACE(kind);
        std::filesystem::remove(kSettingsFileName);
        if (kind == "/dev/zero")
            std::filesystem::create_symlink(kind, kSettingsFileName);
        else
            std::filesystem::rename(kind, kSettingsFileName);
        MonitorSettings s = Configured();
        RecordedProblems seen;
        EXPECT_EQ(LoadSettings(kSettingsFileName, s, seen), LoadResult::Damaged);
        EXPECT_EQ(s, Configured());
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].text, named + what + ", not a settings file.");
        EXPECT_EQ(seen.boxes[0].icon, MessageIcon::Exclamation);
    }
}

TEST_F(SettingsFile, LoadReadsAtMostOneMebibyte) {
    // A whole record followed by 100 MB: the tail is never read.
    WriteBytes(kSettingsFileName, EncodeSettings(Configured()));
    ASSERT_EQ(::truncate(kSettingsFileName, 100 << 20), 0);
    MonitorSettings s;
    EXPECT_EQ(LoadSettings(kSettingsFileName, s, problems), LoadResult::Loaded);
    EXPECT_EQ(s, Configured());

    // A record that runs past the limit is cut there, like a short file.
    MonitorSettings huge = Configured();
    huge.controlAddress = std::string(kMaxSettingsBytes, 'c');
    WriteBytes(kSettingsFileName, EncodeSettings(huge));
    MonitorSettings cut;
    cut.controlAddress = "kept";
    EXPECT_EQ(LoadSettings(kSettingsFileName, cut, problems), LoadResult::Damaged);
    EXPECT_EQ(cut.pingFrequency, 60) << "the fields before the cut are loaded";
    EXPECT_EQ(cut.controlAddress, "kept");
}

// Whatever the program saves, it can load: a record beyond what the load
// reads is refused, and the old file kept.
TEST_F(SettingsFile, RecordTooLargeToLoadIsNotSaved) {
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    MonitorSettings huge = Configured();
    huge.mailTo = std::string(kMaxSettingsBytes, 'm');
    EXPECT_FALSE(SaveSettings(kSettingsFileName, huge, problems, log));
    ASSERT_EQ(problems.boxes.size(), 1u);
    EXPECT_EQ(problems.boxes[0].text, "Unable to save the settings to " +
                                          (dir / kSettingsFileName).string() + ": File too large.");
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(Configured()));
}

// A rename would leave the other names of the file with the old record.
TEST_F(SettingsFile, HardLinkedFileIsWrittenInPlace) {
    ASSERT_TRUE(SaveSettings(kSettingsFileName, MonitorSettings{}, problems, log));
    std::filesystem::create_hard_link(kSettingsFileName, "mirror");
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    EXPECT_EQ(ReadBytes("mirror"), EncodeSettings(Configured()));
    EXPECT_EQ(std::filesystem::hard_link_count(kSettingsFileName), 2u);
}

// A save follows links, so a link to a device must never lead root to
// rename over it: only a regular file is ever written.
TEST_F(SettingsFile, SaveWritesOnlyARegularFile) {
    HangGuard guard;
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    std::filesystem::create_directory("folder");
    for (auto [target, reason] : {std::pair{"fifo", "it leads to fifo, a FIFO"},
                                  {"folder", "it leads to folder, a folder"}}) {
        SCOPED_TRACE(target);
        std::filesystem::remove(kSettingsFileName);
        std::filesystem::create_symlink(target, kSettingsFileName);
        RecordedProblems seen;
        EXPECT_FALSE(SaveSettings(kSettingsFileName, Configured(), seen, log));
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].text, "Unable to save the settings to " +
                                          (dir / kSettingsFileName).string() + ": " + reason +
                                          ", not a regular file.");
        EXPECT_TRUE(std::filesystem::is_symlink(kSettingsFileName));
    }
    EXPECT_TRUE(std::filesystem::is_fifo("fifo"));
    EXPECT_TRUE(std::filesystem::is_empty("folder"));
}

// A link to a file not made yet makes that file, as writing through the
// link would, and stays a link.
TEST_F(SettingsFile, LinkToAMissingFileCreatesItsTarget) {
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_symlink("elsewhere/made.dat", kSettingsFileName);
    ASSERT_TRUE(SaveSettings(kSettingsFileName, Configured(), problems, log));
    EXPECT_TRUE(std::filesystem::is_symlink(kSettingsFileName));
    EXPECT_EQ(ReadBytes("elsewhere/made.dat"), EncodeSettings(Configured()));
    EXPECT_EQ(DirectoryEntries("elsewhere"), std::vector<std::string>{"made.dat"});
    MonitorSettings loaded;
    EXPECT_EQ(LoadSettings(kSettingsFileName, loaded, problems), LoadResult::Loaded);
    EXPECT_EQ(loaded, Configured());
}

}  // namespace
}  // namespace vigilon::test
