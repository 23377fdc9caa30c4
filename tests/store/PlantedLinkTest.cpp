// Links that another user planted in a folder that everybody may write,
// named like each of the program's files and leading to a file of root's or
// to a third user's private one, with root running the program: nothing is
// written or cut through them (settings are still read), and the user is
// told which file and why.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "InstanceLock.h"
#include "LogLine.h"
#include "RecordedProblems.h"
#include "RecordingLog.h"
#include "SettingsCodec.h"
#include "SettingsFile.h"
#include "StoreTestDir.h"
#include "Unprivileged.h"
#include "WaitingMailFile.h"

namespace vigilon::test {
namespace {

constexpr uid_t kThirdUser = 4242;
const std::string kPlanted =
    "it is a symbolic link owned by nobody; Vigilon follows only links of its own user or root";

class PlantedLink : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        if (!IsRoot()) GTEST_SKIP() << "another user's links need root to watch them";
        ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
        std::filesystem::create_directory("elsewhere");
        // Stand-ins for /etc/passwd, another user's private file, and a
        // file that must not come to be (such as /etc/ld.so.preload).
        victims = {(dir / "elsewhere/passwd").string(), (dir / "elsewhere/private").string(),
                   (dir / "elsewhere/preload").string()};
        Place(victims[0], "root:x:0:0:root:/root:/bin/bash\n", 0, 0644);
        Place(victims[1], "a third user's secret\n", kThirdUser, 0600);
    }

    void Place(const std::string& path, const std::string& text, uid_t owner, mode_t mode) {
        WriteBytes(path, Bytes(text.begin(), text.end()));
        ASSERT_EQ(::chown(path.c_str(), owner, owner), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        contents.push_back(ReadBytes(path));
    }

    // name -> victim, made by nobody.
    static void Plant(const std::string& name, const std::string& victim) {
        std::filesystem::remove(name);
        const std::string made = RunUnprivileged([&] {
            return ::symlink(victim.c_str(), name.c_str()) == 0 ? "" : std::strerror(errno);
        });
        ASSERT_EQ(made, "");
    }

    void ExpectVictimsUnchanged(const std::string& name) {
        for (std::size_t i = 0; i < contents.size(); ++i)
            EXPECT_TRUE(ReadBytes(victims[i]) == contents[i]) << victims[i] << " through " << name;
        EXPECT_FALSE(std::filesystem::exists(victims[2])) << "nothing is made where a link points";
        EXPECT_TRUE(std::filesystem::is_symlink(name)) << "the planted link is left where it is";
        std::vector<std::string> expected{"elsewhere", name};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(DirectoryEntries(dir), expected) << "nothing beside it";
    }

    std::string Named(const std::string& name) const { return (dir / name).string(); }

    std::vector<std::string> victims;
    std::vector<Bytes> contents;
};

// Reading harms nothing a plain file the other user planted could not, and
// monitoring must go on: what the link leads to is read, with a notice, and
// never written.
TEST_F(PlantedLink, SettingsAreReadThroughItButNeverSavedThere) {
    MonitorSettings planted;
    planted.targetAddress = "198.51.100.9";
    const Bytes record = EncodeSettings(planted);
    const std::string readable = (dir / "elsewhere/settings").string();
    Place(readable, std::string(record.begin(), record.end()), kThirdUser, 0644);
    victims.push_back(readable);
    const std::string notice = "The settings were read from " + Named(kSettingsFileName) +
                               ", but will not be saved there: " + kPlanted + ".";

    for (const std::string& victim : victims) {
        Plant(kSettingsFileName, victim);
        RecordedProblems problems;
        RecordingLog log;
        MonitorSettings settings;
        const LoadResult loaded = LoadSettings(kSettingsFileName, settings, problems);
        if (victim == readable) {
            EXPECT_EQ(loaded, LoadResult::Loaded);
            EXPECT_EQ(settings, planted);
        }
        const std::size_t boxes = problems.boxes.size();
        EXPECT_FALSE(SaveSettings(kSettingsFileName, settings, problems, log));
        if (std::filesystem::exists(victim)) {
            ASSERT_GE(problems.boxes.size(), 2u) << victim;
            EXPECT_EQ(problems.boxes[0].text, notice);
        }
        ASSERT_EQ(problems.boxes.size(), boxes + 1);
        EXPECT_EQ(problems.boxes.back().text, "Unable to save the settings to " +
                                                  Named(kSettingsFileName) + ": " + kPlanted + ".");
        EXPECT_TRUE(ReadBytes(victims[0]) == contents[0]);
        EXPECT_TRUE(ReadBytes(victims[1]) == contents[1]);
        EXPECT_TRUE(ReadBytes(readable) == record);
        EXPECT_FALSE(std::filesystem::exists(victims[2])) << "nothing is made where a link points";
    }
}

TEST_F(PlantedLink, LogLinesAndClearingReachNothingAndSayWhy) {
    for (const std::string& victim : victims) {
        Plant(kLogFileName, victim);
        RecordedProblems problems;
        FakeLauncher launcher;
        FakeClock clock;
        EventLog log(kLogFileName, problems, launcher, clock);
        log.Write("***** STARTED *****");
        const std::string cleared = log.Clear();
        ASSERT_EQ(problems.boxes.size(), 1u);
        EXPECT_EQ(problems.boxes[0].text,
                  "Unable to write the log to " + Named(kLogFileName) + ": " + kPlanted + ".");
        EXPECT_EQ(problems.boxes[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(cleared,
                  "Unable to clear log file " + Named(kLogFileName) + ": " + kPlanted + ".");
        ExpectVictimsUnchanged(kLogFileName);
    }
}

TEST_F(PlantedLink, WaitingMailsAreNeitherReadNorSavedThroughIt) {
    AlertEvent mail;
    mail.targetAddress = "192.0.2.1";
    for (const std::string& victim : victims) {
        Plant(kWaitingMailFileName, victim);
        WaitingMailFile file(kWaitingMailFileName);
        std::string error;
        EXPECT_TRUE(file.Load(error).empty());
        EXPECT_EQ(error, "Unable to read the waiting mails from " + Named(kWaitingMailFileName) +
                             ": " + kPlanted + ".");
        const std::string refused = "Unable to save the waiting mails to " +
                                    Named(kWaitingMailFileName) + ": " + kPlanted + ".";
        EXPECT_EQ(file.Save({mail}), refused);
        EXPECT_EQ(file.Save({}), refused) << "not even removed";
        ExpectVictimsUnchanged(kWaitingMailFileName);
    }
}

TEST_F(PlantedLink, TheLockIsNotTakenThroughIt) {
    for (const std::string& victim : victims) {
        Plant(kLockFileName, victim);
        InstanceLock lock;
        EXPECT_EQ(lock.Acquire(kLockFileName), LockResult::Failed);
        EXPECT_FALSE(lock.Held());
        EXPECT_EQ(lock.Error(), std::string(kLockFileName) + ": " + kPlanted);
        ExpectVictimsUnchanged(kLockFileName);
    }
}

// Nobody swaps the log between a file of their own, which may be written,
// and a link to root's file, as fast as they can, while root writes line
// after line: no check can be outrun into writing through the link.
TEST_F(PlantedLink, ALinkSwappedInBetweenCheckAndOpenIsNeverWrittenThrough) {
    const std::string victim = victims[0];
    pid_t swapper = ::fork();
    ASSERT_GE(swapper, 0);
    if (swapper == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(1);
        for (;;) {
            ::close(::open("plain.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0666));
            ::rename("plain.tmp", kLogFileName);
            ::symlink(victim.c_str(), "link.tmp");
            ::rename("link.tmp", kLogFileName);
        }
    }
    RecordedProblems problems;
    FakeLauncher launcher;
    FakeClock clock;
    EventLog log(kLogFileName, problems, launcher, clock);
    for (int line = 0; line < 3000; ++line)
        log.Write("line " + std::to_string(line));
    ::kill(swapper, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(swapper, &status, 0), swapper);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the swapper ran until it was stopped";
    EXPECT_TRUE(ReadBytes(victim) == contents[0]);
    // Both were met: lines went into nobody's file, and the link was refused.
    EXPECT_GT(problems.boxes.size(), 0u);
    EXPECT_LT(problems.boxes.size(), 3000u);
}

}  // namespace
}  // namespace vigilon::test
