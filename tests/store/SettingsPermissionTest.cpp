#include <sys/stat.h>
#include <filesystem>

#include <gtest/gtest.h>

#include "RecordedProblems.h"
#include "RecordingLog.h"
#include "SettingsCodec.h"
#include "SettingsFile.h"
#include "StoreTestDir.h"
#include "Unprivileged.h"

namespace vigilon::test {
namespace {

MonitorSettings Old() {
    MonitorSettings s;
    s.targetAddress = "192.0.2.1";
    s.mailTo = std::string(3000, 'o');
    return s;
}

MonitorSettings New() {
    MonitorSettings s;
    s.targetAddress = "198.51.100.9";
    s.pingFrequency = 45;
    return s;
}

struct stat Info(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

// Saves as the runner: "saved", or the message the save showed.
std::string SaveAsRunner(const std::string& path) {
    return RunUnprivileged([&] {
        RecordedProblems problems;
        RecordingLog log;
        if (SaveSettings(path, New(), problems, log)) return std::string("saved");
        return problems.boxes.empty() ? std::string("failed silently") : problems.boxes.back().text;
    });
}

// Saves must be refused or allowed exactly as an in-place write of the file
// would be, whatever the temporary file and rename would be allowed to do.
class SavePermissions : public StoreTestDir {
protected:
    void SetUp() override {
        StoreTestDir::SetUp();
        ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    }

    // The old record at path with mode, the runner's file or root's.
    void PlaceOldFile(const std::string& path, mode_t mode, bool runnerOwns = true) {
        std::filesystem::remove(path);
        WriteBytes(path, EncodeSettings(Old()));
        ASSERT_TRUE(!runnerOwns || GiveToRunner(path));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        before = Info(path);
        entriesBefore = DirectoryEntries(dir);
    }

    std::string Denied(const std::string& path) const {
        return "Unable to save the settings to " + (dir / path).string() + ": Permission denied.";
    }

    void ExpectUntouched(const std::string& path) {
        struct stat after = Info(path);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(DirectoryEntries(dir), entriesBefore) << "no temporary file is left";
        if (!IsRoot()) ::chmod(path.c_str(), 0600);  // so that a user can compare it
        EXPECT_EQ(ReadBytes(path), EncodeSettings(Old()));
    }

    struct stat before {};
    std::vector<std::string> entriesBefore;
};

TEST_F(SavePermissions, FileTheUserMayNotWriteIsNotReplaced) {
    PlaceOldFile(kSettingsFileName, 0444);
    EXPECT_EQ(SaveAsRunner(kSettingsFileName), Denied(kSettingsFileName));
    ExpectUntouched(kSettingsFileName);

    if (!IsRoot()) GTEST_SKIP() << "another owner's file needs root to make";
    PlaceOldFile(kSettingsFileName, 0644, false);
    EXPECT_EQ(SaveAsRunner(kSettingsFileName), Denied(kSettingsFileName));
    ExpectUntouched(kSettingsFileName);
}

// Unreadable counts as a first run; the first-run values then cannot
// replace the file, and the user is told why.
TEST_F(SavePermissions, UnreadableFileIsAFirstRunThatIsNeverOverwritten) {
    PlaceOldFile(kSettingsFileName, 0000);
    const std::string outcome = RunUnprivileged([] {
        RecordedProblems problems;
        RecordingLog log;
        MonitorSettings loaded;
        const LoadResult load = LoadSettings(kSettingsFileName, loaded, problems);
        std::string report =
            load == LoadResult::NotFound && problems.boxes.empty() ? "first run" : "not first";
        if (SaveSettings(kSettingsFileName, New(), problems, log)) return report + "; saved";
        return report + "; " + (problems.boxes.empty() ? "no message" : problems.boxes.back().text);
    });
    EXPECT_EQ(outcome, "first run; " + Denied(kSettingsFileName));
    ExpectUntouched(kSettingsFileName);
}

TEST_F(SavePermissions, WritableFileInALockedFolderIsWrittenInPlace) {
    const std::string path = "locked/Vigilon.dat";
    std::filesystem::create_directory("locked");
    PlaceOldFile(path, 0644);
    ASSERT_EQ(::chmod("locked", 0555), 0);
    EXPECT_EQ(SaveAsRunner(path), "saved");
    EXPECT_EQ(ReadBytes(path), EncodeSettings(New())) << "the longer old record is cut off";
    EXPECT_EQ(Info(path).st_ino, before.st_ino);
    EXPECT_EQ(DirectoryEntries("locked"), std::vector<std::string>{"Vigilon.dat"});
}

TEST_F(SavePermissions, AnotherOwnersWritableFileKeepsItsOwner) {
    if (!IsRoot()) GTEST_SKIP() << "another owner's file needs root to make";
    PlaceOldFile(kSettingsFileName, 0666, false);
    EXPECT_EQ(SaveAsRunner(kSettingsFileName), "saved");
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(New()));
    EXPECT_EQ(Info(kSettingsFileName).st_ino, before.st_ino) << "written in place";
    EXPECT_EQ(Info(kSettingsFileName).st_uid, 0u);
    EXPECT_EQ(DirectoryEntries(dir), entriesBefore);
}

// Root may write any file in place, so root replaces it, but as the file
// its owner had: same owner, same mode.
TEST_F(SavePermissions, RootReplacesAUsersReadOnlyFileAsItWas) {
    if (!IsRoot()) GTEST_SKIP() << "needs root";
    PlaceOldFile(kSettingsFileName, 0444);
    RecordedProblems problems;
    RecordingLog log;
    ASSERT_TRUE(SaveSettings(kSettingsFileName, New(), problems, log));
    EXPECT_EQ(ReadBytes(kSettingsFileName), EncodeSettings(New()));
    struct stat after = Info(kSettingsFileName);
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced by rename";
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNobody);
    EXPECT_EQ(after.st_mode & 07777, 0444u);
}

// The chain Vigilon.dat -> hop -> /.../shared/real.dat stays as it is, and
// the file at its end is replaced from its own folder: the runner may not
// write the folder the links are in.
TEST_F(SavePermissions, LinkedFileIsReplacedInItsOwnFolder) {
    std::filesystem::create_directory("shared");
    ASSERT_EQ(::chmod("shared", 0777), 0);
    PlaceOldFile("shared/real.dat", 0640);
    std::filesystem::create_symlink(dir / "shared/real.dat", "hop");
    std::filesystem::create_symlink("hop", kSettingsFileName);
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);

    EXPECT_EQ(SaveAsRunner(kSettingsFileName), "saved");
    EXPECT_EQ(std::filesystem::read_symlink(kSettingsFileName), "hop");
    EXPECT_EQ(std::filesystem::read_symlink("hop"), dir / "shared/real.dat");
    EXPECT_EQ(ReadBytes("shared/real.dat"), EncodeSettings(New()));
    struct stat after = Info("shared/real.dat");
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced by rename, not written in place";
    EXPECT_EQ(after.st_uid, Runner());
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(DirectoryEntries("shared"), std::vector<std::string>{"real.dat"});
}

}  // namespace
}  // namespace vigilon::test
