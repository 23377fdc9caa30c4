// Ravelin's session without a window: what a run starts with, which calls
// belong to it, what memory keeps of a long run, how the whole run is saved
// through its spool, and where that spool lives and when it goes.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "PingSession.h"
#include "ScopedEnvironment.h"
#include "StoreTestDir.h"
#include "TestAddress.h"

namespace vigilon::ravelin {
namespace {

namespace fs = std::filesystem;

// The nth request of a run at 0.2 s: answered in roundTripUs, or timed out.
PingRecord Request(std::int64_t n, std::int64_t roundTripUs, bool answered = true) {
    PingRecord record;
    record.result.outcome = answered ? EchoOutcome::Reply : EchoOutcome::TimedOut;
    record.result.sequence = static_cast<std::uint16_t>(n);
    record.result.roundTripUs = answered ? roundTripUs : 0;
    record.result.messageBytes = 64;
    record.result.source = test::V4Address("192.0.2.2");
    record.secondsIntoRun = 0.2 * static_cast<double>(n - 1);
    record.sentAt = std::chrono::system_clock::time_point(std::chrono::seconds(1709985598)) +
                    std::chrono::milliseconds(200 * (n - 1));
    return record;
}

IpAddress Address(const char* dotted) { return test::V4Address(dotted); }

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

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

class PingSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ravelin-session-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        fs::create_directory(folder / "spool");
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(PingSessionTest, BeginBringsTheSettingsWithinLimitsAndNeedsAHost) {
    PingSession session((folder / "spool").string());
    std::optional<PingSettings> settings = session.Begin("  gateway\t\n", 0.05, -3);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->host, "gateway");
    EXPECT_EQ(settings->intervalSeconds, 0.2);
    EXPECT_EQ(settings->dataSize, 0);
    EXPECT_EQ(session.RunNumber(), 1);

    settings = session.Begin("gateway", 3600, 65000);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->intervalSeconds, 60);
    EXPECT_EQ(settings->dataSize, 1012);

    // Without a host nothing starts, and the last run is still there.
    ASSERT_TRUE(session.Recorded(session.RunNumber(), Request(1, 100)));
    EXPECT_FALSE(session.Begin(" \t", 1, 56));
    EXPECT_EQ(session.RunNumber(), 2);
    EXPECT_EQ(session.Records().size(), 1u);
}

TEST_F(PingSessionTest, CallsFromAnEarlierRunAreDropped) {
    PingSession session((folder / "spool").string());
    ASSERT_TRUE(session.Begin("gateway", 1, 56));
    const int first = session.RunNumber();
    EXPECT_EQ(session.Started(first, Address("192.0.2.2")),
              "PING gateway (192.0.2.2) 56(84) bytes of data.");
    EXPECT_EQ(session.Recorded(first, Request(1, 143)),
              "64 bytes from 192.0.2.2: icmp_seq=1 time=0.143 ms");

    ASSERT_TRUE(session.Begin("router", 1, 16));
    const int second = session.RunNumber();
    EXPECT_FALSE(session.Recorded(first, Request(2, 100)));
    EXPECT_FALSE(session.Started(first, Address("192.0.2.2")));
    EXPECT_FALSE(session.Failed(first, "Unknown host: gateway"));
    EXPECT_TRUE(session.Lines().empty());
    EXPECT_TRUE(session.Records().empty());
    EXPECT_EQ(session.Statistics().Sent(), 0);
    EXPECT_TRUE(session.Graph().Samples().empty());

    EXPECT_EQ(session.Started(second, Address("192.0.2.1")),
              "PING router (192.0.2.1) 16(44) bytes of data.");
    EXPECT_TRUE(session.Recorded(second, Request(1, 100, false)));
    EXPECT_EQ(session.LinesText(),
              "PING router (192.0.2.1) 16(44) bytes of data.\nRequest timeout for icmp_seq=1\n");
    EXPECT_EQ(session.Statistics().Sent(), 1);
}

TEST_F(PingSessionTest, AMillionRequestsKeepTheLatestInMemoryAndCountThemAll) {
    PingSession session((folder / "spool").string());
    ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
    const int run = session.RunNumber();
    session.Started(run, Address("192.0.2.2"));
    constexpr std::int64_t kRequests = 1000000;
    std::int64_t sumUs = 0;
    for (std::int64_t n = 1; n <= kRequests; ++n) {
        // The fastest and the slowest answers come first, long before the
        // part that memory keeps; every tenth request is lost.
        const std::int64_t us = n == 1 ? 7 : n == 2 ? 90000 : 100 + n % 50;
        const bool answered = n % 10 != 0;
        if (answered) sumUs += us;
        ASSERT_TRUE(session.Recorded(run, Request(n, us, answered)));
    }

    EXPECT_EQ(session.Records().size(), PingSession::kMostKept);
    EXPECT_EQ(session.Lines().size(), PingSession::kMostKept);
    EXPECT_EQ(session.Records().front().secondsIntoRun, Request(900001, 0).secondsIntoRun);
    EXPECT_EQ(session.Lines().back(), "Request timeout for icmp_seq=16960");  // 1000000 % 65536
    // Five minutes of requests at 0.2 s, and the one on the edge.
    EXPECT_LE(session.Graph().Samples().size(), 1501u);

    const PingStatistics& statistics = session.Statistics();
    EXPECT_EQ(statistics.Sent(), kRequests);
    EXPECT_EQ(statistics.Received(), kRequests * 9 / 10);
    EXPECT_EQ(statistics.MinUs(), 7);
    EXPECT_EQ(statistics.MaxUs(), 90000);
    EXPECT_DOUBLE_EQ(statistics.AverageUs(),
                     static_cast<double>(sumUs) / static_cast<double>(kRequests * 9 / 10));
}

TEST_F(PingSessionTest, ASaveWritesTheWholeRunFromTheSpool) {
    PingSession session((folder / "spool").string());
    ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
    const int run = session.RunNumber();
    session.Started(run, Address("192.0.2.2"));
    constexpr std::int64_t kRequests = PingSession::kMostKept + 2345;
    for (std::int64_t n = 1; n <= kRequests; ++n)
        session.Recorded(run, Request(n, 100 + n % 7));
    ASSERT_EQ(session.Records().size(), PingSession::kMostKept);

    const PingSession::SaveReport csv =
        session.Save((folder / "run.csv").string(), ExportFormat::Csv);
    EXPECT_TRUE(csv.saved);
    EXPECT_EQ(csv.message, "");
    const std::string rows = test::ReadText(folder / "run.csv");
    EXPECT_EQ(Count(rows, "\r\n"), kRequests + 1);
    EXPECT_EQ(rows.rfind("time,seq,rtt_ms,outcome\r\n", 0), 0u);
    EXPECT_NE(rows.find(",1,0.101,reply\r\n"), std::string::npos);  // the first request

    const PingSession::SaveReport text =
        session.Save((folder / "run.txt").string(), ExportFormat::Text);
    EXPECT_TRUE(text.saved);
    const std::string lines = test::ReadText(folder / "run.txt");
    // The header, a line per request, and the statistics under a blank line.
    EXPECT_EQ(Count(lines, "\n"), 1 + kRequests + 4);
    EXPECT_EQ(lines.rfind("PING gateway (192.0.2.2) 56(84) bytes of data.\n"
                          "64 bytes from 192.0.2.2: icmp_seq=1 time=0.101 ms\n",
                          0),
              0u);
    EXPECT_NE(lines.find("\n102345 packets transmitted, 102345 received, 0% packet loss\n"),
              std::string::npos);

    const PingSession::SaveReport nowhere =
        session.Save((folder / "missing" / "run.csv").string(), ExportFormat::Csv);
    EXPECT_FALSE(nowhere.saved);
    EXPECT_NE(nowhere.message.find("missing/run.csv: No such file or directory"), std::string::npos)
        << nowhere.message;
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

TEST_F(PingSessionTest, WithoutASpoolASaveHoldsWhatMemoryKeepsAndSaysSoWhenThatIsNotAll) {
    // No spool from the start: a file stands where its folder should be made.
    std::ofstream(folder / "file") << "in the way";
    PingSession unspooled((folder / "file" / "spool").string());
    ASSERT_TRUE(unspooled.Begin("gateway", 0.2, 56));
    for (std::int64_t n = 1; n <= 3; ++n)
        unspooled.Recorded(unspooled.RunNumber(), Request(n, 100));
    PingSession::SaveReport report =
        unspooled.Save((folder / "short.csv").string(), ExportFormat::Csv);
    EXPECT_TRUE(report.saved);
    EXPECT_EQ(report.message, "");  // memory still has the whole run
    EXPECT_EQ(Count(test::ReadText(folder / "short.csv"), "\r\n"), 4u);

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
    report = session.Save((folder / "long.csv").string(), ExportFormat::Csv);
    EXPECT_TRUE(report.saved);
    EXPECT_NE(report.message.find("File too large"), std::string::npos) << report.message;
    EXPECT_NE(report.message.find("only the last 100000 of the run's 100005 requests"),
              std::string::npos)
        << report.message;
    const std::string rows = test::ReadText(folder / "long.csv");
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
