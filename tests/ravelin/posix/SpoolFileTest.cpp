// Linux's spool: a file without a name for its owner alone, which goes
// with its run; a disk that fills up; and where runs are spooled.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>

#include "PingSessionFixture.h"
#include "RunSpool.h"
#include "ScopedEnvironment.h"
#include "StoreTestDir.h"

namespace vigilon::ravelin {
namespace {

// The files this process holds open in folder, as /proc/self/fd names them.
std::vector<fs::path> OpenFilesIn(const fs::path& folder) {
    std::vector<fs::path> open;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code gone;  // the iterator's own descriptor closes meanwhile
        const fs::path target = fs::read_symlink(entry.path(), gone);
        if (!gone && target.string().rfind(folder.string() + "/", 0) == 0)
            open.push_back(entry.path());
    }
    return open;
}

// Files this process writes may grow to limit bytes, and a write beyond fails
// with EFBIG instead of ending the process, until the scope ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit lower = before;
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
        signalBefore = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before);
        signal(SIGXFSZ, signalBefore);
    }

private:
    rlimit before{};
    sighandler_t signalBefore;
};

TEST_F(PingSessionTest, ASpoolWhoseDiskFillsUpGoesAndASaveSaysWhatMemoryKept) {
    // The spool's disk fills up during a long run.
    PingSession session((folder / "spool").string());
    ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
    constexpr std::int64_t kRequests = PingSession::kMostKept + 5;
    {
        FileSizeLimit full(256 * 1024);
        for (std::int64_t n = 1; n <= kRequests; ++n)
            session.Recorded(session.RunNumber(), Request(n, 100));
    }
    EXPECT_TRUE(OpenFilesIn(folder / "spool").empty());  // the failed spool holds no disk
    const PingSession::SaveReport report =
        session.Save((folder / "long.csv").string(), ExportFormat::Csv);
    EXPECT_TRUE(report.saved);
    EXPECT_NE(report.message.find("File too large"), std::string::npos) << report.message;
    EXPECT_NE(report.message.find("only the last 100000 of the run's 100005 requests"),
              std::string::npos)
        << report.message;
    const std::string rows = test::ReadText((folder / "long.csv").string());
    EXPECT_EQ(Count(rows, "\r\n"), PingSession::kMostKept + 1);
    // The first five went from memory: the rows begin with the sixth.
    const std::size_t firstRow = rows.find("\r\n") + 2;
    const std::string row = rows.substr(firstRow, rows.find("\r\n", firstRow) + 2 - firstRow);
    EXPECT_NE(row.find(",6,0.100,reply\r\n"), std::string::npos) << row;
}

TEST_F(PingSessionTest, TheSpoolIsNamelessForItsOwnerAloneAndGoesWithItsRun) {
    const fs::path spoolFolder = folder / "spool";
    {
        PingSession session(spoolFolder.string());
        EXPECT_TRUE(OpenFilesIn(spoolFolder).empty());
        ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
        session.Recorded(session.RunNumber(), Request(1, 100));
        ASSERT_TRUE(session.Save((folder / "run.csv").string(), ExportFormat::Csv).saved);
        const std::vector<fs::path> first = OpenFilesIn(spoolFolder);
        ASSERT_EQ(first.size(), 1u);
        struct stat spool {};
        ASSERT_EQ(stat(first[0].c_str(), &spool), 0);
        EXPECT_EQ(spool.st_mode & 07777, 0600u);
        EXPECT_GT(spool.st_size, 0);
        EXPECT_TRUE(fs::is_empty(spoolFolder));  // nothing to leave behind on a crash

        // The next run's spool, empty, takes the place of the last one's.
        ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
        const std::vector<fs::path> second = OpenFilesIn(spoolFolder);
        ASSERT_EQ(second.size(), 1u);
        struct stat next {};
        ASSERT_EQ(stat(second[0].c_str(), &next), 0);
        EXPECT_EQ(next.st_size, 0);
    }
    EXPECT_TRUE(OpenFilesIn(spoolFolder).empty());
    EXPECT_TRUE(fs::is_empty(spoolFolder));
}

TEST(SpoolFolderTest, TmpdirElseTheUsersCache) {
    {
        test::ScopedEnvironment tmpdir("TMPDIR", "/var/tmp/mine");
        EXPECT_EQ(SpoolFolder(), "/var/tmp/mine");
    }
    test::ScopedEnvironment tmpdir("TMPDIR", std::nullopt);
    test::ScopedEnvironment home("HOME", "/home/ann");
    {
        test::ScopedEnvironment cache("XDG_CACHE_HOME", "/home/ann/cache");
        EXPECT_EQ(SpoolFolder(), "/home/ann/cache/ravelin");
    }
    test::ScopedEnvironment cache("XDG_CACHE_HOME", std::nullopt);
    EXPECT_EQ(SpoolFolder(), "/home/ann/.cache/ravelin");
}

}  // namespace
}  // namespace vigilon::ravelin
