#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "StoreTestDir.h"
#include "TemporaryFiles.h"
#include "WaitingMailFile.h"

namespace vigilon::test {
namespace {

AlertEvent Mail(AlertKind kind, std::int64_t time, const std::string& target) {
    AlertEvent mail;
    mail.kind = kind;
    mail.time = time;
    mail.outageStart = time - 25;
    mail.targetAddress = target;
    mail.targetResult = "timed out";
    mail.controlResult = "64 bytes from 192.0.2.1: icmp_seq = 3.  time: 12 ms";
    mail.mailFrom = "watch@example.org";
    mail.mailTo = "ops@example.org;Team <team@example.net>";
    return mail;
}

// Texts that a careless format would cut or merge: empty, line breaks, the
// format's own separators, a NUL byte, non-ASCII and invalid UTF-8 bytes.
std::vector<AlertEvent> Awkward() {
    AlertEvent odd = Mail(AlertKind::Recovery, -1, "");
    odd.outageStart = INT64_MAX;
    odd.targetResult = "3:abc\n12:\r\nrecovery 1 2\n";
    odd.controlResult = std::string("nul\0byte", 8);
    odd.mailFrom = "Jos\xc3\xa9 <jose@example.org>";
    odd.mailTo = "\xff\xfe bytes;";
    return {Mail(AlertKind::Alert, 1'000'000'000, "target.example"), odd,
            Mail(AlertKind::Recovery, 1'000'000'065, "target.example")};
}

class WaitingMailFileTest : public StoreTestDir {
protected:
    std::vector<AlertEvent> Load() {
        error = "unset";
        return file.Load(error);
    }

    WaitingMailFile file{kWaitingMailFileName};
    std::string error;
};

// A save never widens what an earlier file allowed, nor keeps it wider.
TEST_F(WaitingMailFileTest, EveryFieldComesBackAsSavedInAPrivateFile) {
    ASSERT_EQ(file.Save({Awkward()[0]}), "");
    ASSERT_EQ(::chmod(kWaitingMailFileName, 0644), 0);
    ASSERT_EQ(file.Save(Awkward()), "");
    EXPECT_EQ(Load(), Awkward());
    EXPECT_EQ(error, "");

    struct stat info {};
    ASSERT_EQ(::stat(kWaitingMailFileName, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(DirectoryEntries(dir), std::vector<std::string>{kWaitingMailFileName});
}

// Written by this version: later versions must go on reading it.
TEST_F(WaitingMailFileTest, ReadsTheFirstVersionOfTheFormat) {
    const std::string text =
        "Vigilon waiting mail 1\n1\n"
        "alert 1000000000 999999975\n"
        "14:target.example\n9:timed out\n0:\n17:watch@example.org\n15:ops@example.org\n";
    WriteBytes(kWaitingMailFileName, Bytes(text.begin(), text.end()));

    AlertEvent expected = Mail(AlertKind::Alert, 1'000'000'000, "target.example");
    expected.controlResult = "";
    expected.mailTo = "ops@example.org";
    EXPECT_EQ(Load(), std::vector<AlertEvent>{expected});
    EXPECT_EQ(error, "");
}

TEST_F(WaitingMailFileTest, EmptyListLeavesNoFile) {
    ASSERT_EQ(file.Save(Awkward()), "");
    ASSERT_EQ(file.Save({}), "");
    EXPECT_TRUE(DirectoryEntries(dir).empty());
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(error, "");
    EXPECT_EQ(file.Save({}), "") << "nothing to remove is no failure";
}

TEST_F(WaitingMailFileTest, CutFileGivesTheWholeMailsBeforeTheCut) {
    const std::vector<AlertEvent> mails = Awkward();
    ASSERT_EQ(file.Save(mails), "");
    const Bytes whole = ReadBytes(kWaitingMailFileName);
    const std::string absolute = (dir / kWaitingMailFileName).string();

    std::size_t previousCount = 0;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        WriteBytes(kWaitingMailFileName, Bytes(whole.begin(), whole.begin() + cut));
        const std::vector<AlertEvent> loaded = Load();
        ASSERT_LE(loaded.size(), mails.size());
        EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), mails.begin()));
        EXPECT_GE(loaded.size(), previousCount);
        previousCount = loaded.size();
        EXPECT_TRUE(error.starts_with("The waiting mails in " + absolute + " are damaged ("))
            << error;
    }
    EXPECT_EQ(previousCount, 2u);
    EXPECT_EQ(error, "The waiting mails in " + absolute +
                         " are damaged (mail 3 of 3 is cut short); 2 could be read.");
}

TEST_F(WaitingMailFileTest, DamagedOrForeignFileGivesWhatItCanAndSaysWhy) {
    const std::string head = "Vigilon waiting mail 1\n";
    const std::string good = "alert 5 1\n1:t\n0:\n0:\n0:\n0:\n";
    struct Case {
        std::string text;
        std::size_t mailsRead;
        std::string damage;
    };
    const std::vector<Case> cases = {
        {"", 0, "not a file of waiting mails"},
        {"\x01\x02 binary\n", 0, "not a file of waiting mails"},
        {"Vigilon waiting mail 2\n1\n" + good, 0, "written in a format this version does not read"},
        {head + "many\n", 0, "the number of mails is unreadable"},
        {head + "2\n" + good + "warning 5 1\n1:t\n0:\n0:\n0:\n0:\n", 1, "mail 2 of 2 is damaged"},
        {head + "1\nalert 5x 1\n1:t\n0:\n0:\n0:\n0:\n", 0, "mail 1 of 1 is damaged"},
        {head + "1\nalert 5 1\n1:tt\n0:\n0:\n0:\n0:\n", 0, "mail 1 of 1 is damaged"},
        // Lengths and counts far beyond the file allocate nothing.
        {head + "1\nalert 5 1\n99999999999999999999:t\n", 0, "mail 1 of 1 is damaged"},
        {head + "1\nalert 5 1\n18446744073709551615:t\n", 0, "mail 1 of 1 is cut short"},
        {head + "4000000000000\n" + good, 1, "mail 2 of 4000000000000 is cut short"},
        {head + "1\n" + good + "extra", 1, "unknown bytes follow the last of 1 mails"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteBytes(kWaitingMailFileName, Bytes(c.text.begin(), c.text.end()));
        EXPECT_EQ(Load().size(), c.mailsRead);
        EXPECT_NE(error.find("(" + c.damage + ")"), std::string::npos) << error;
    }
}

TEST_F(WaitingMailFileTest, FolderInItsPlaceIsReportedNotReadNorReplaced) {
    std::filesystem::create_directory(kWaitingMailFileName);
    const std::string problem = ": it is a folder, not a regular file.";
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(error, "Unable to read the waiting mails from " +
                         (dir / kWaitingMailFileName).string() + problem);
    EXPECT_EQ(file.Save(Awkward()), "Unable to save the waiting mails to " +
                                        (dir / kWaitingMailFileName).string() + problem);
    EXPECT_TRUE(std::filesystem::is_empty(kWaitingMailFileName));
}

// A link the user made is where the mails live: saved there by a rename
// that keeps the link, read from there, and removed from there.
TEST_F(WaitingMailFileTest, TheUsersOwnLinkIsFollowedBothWays) {
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_symlink("elsewhere/kept.mail", kWaitingMailFileName);
    ASSERT_EQ(file.Save({Awkward()[0]}), "");
    ASSERT_EQ(file.Save(Awkward()), "");
    EXPECT_TRUE(std::filesystem::is_symlink(kWaitingMailFileName));
    EXPECT_EQ(DirectoryEntries("elsewhere"), std::vector<std::string>{"kept.mail"});
    EXPECT_EQ(Load(), Awkward());
    EXPECT_EQ(error, "");

    ASSERT_EQ(file.Save({}), "");
    EXPECT_TRUE(DirectoryEntries("elsewhere").empty());
    EXPECT_TRUE(std::filesystem::is_symlink(kWaitingMailFileName));
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(error, "");
}

// A save that cannot finish leaves the previous list whole and says so.
TEST_F(WaitingMailFileTest, FailedSaveKeepsTheOldList) {
    const std::vector<AlertEvent> old = {Awkward()[0]};
    ASSERT_EQ(file.Save(old), "");
    // The exclusive create never opens a name that exists.
    std::filesystem::create_directory(TemporaryPathFor(kWaitingMailFileName));

    EXPECT_EQ(file.Save(Awkward()), "Unable to save the waiting mails to " +
                                        (dir / kWaitingMailFileName).string() + ": File exists.");
    EXPECT_EQ(Load(), old);
}

// A process killed at any moment during repeated saves leaves a file that
// loads whole: the list before or the list after.
TEST_F(WaitingMailFileTest, KilledDuringSavesLeavesOneWholeList) {
    const std::vector<AlertEvent> small = {Awkward()[0]};
    std::vector<AlertEvent> large;
    for (int i = 0; i < 3000; ++i)
        large.push_back(Mail(AlertKind::Alert, i, std::string(40, 'h')));
    ASSERT_EQ(file.Save(small), "");

    std::minstd_rand random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    for (int round = 0; round < 20; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                file.Save(i % 2 ? small : large);
        }
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        SCOPED_TRACE("round " + std::to_string(round));
        const std::vector<AlertEvent> loaded = Load();
        EXPECT_EQ(error, "");
        EXPECT_TRUE(loaded == small || loaded == large);
    }
}

}  // namespace
}  // namespace vigilon::test
