// Ravelin's session without a window: what a run starts with, which calls
// belong to it, what memory keeps of a long run, and how the whole run is
// saved through its spool.

#include <gtest/gtest.h>

#include <fstream>

#include "PingSessionFixture.h"
#include "StoreTestDir.h"

namespace vigilon::ravelin {
namespace {

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
    const std::string rows = test::ReadText((folder / "run.csv").string());
    EXPECT_EQ(Count(rows, "\r\n"), kRequests + 1);
    EXPECT_EQ(rows.rfind("time,seq,rtt_ms,outcome\r\n", 0), 0u);
    EXPECT_NE(rows.find(",1,0.101,reply\r\n"), std::string::npos);  // the first request

    const PingSession::SaveReport text =
        session.Save((folder / "run.txt").string(), ExportFormat::Text);
    EXPECT_TRUE(text.saved);
    const std::string lines = test::ReadText((folder / "run.txt").string());
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
    EXPECT_NE(nowhere.message.find((fs::path("missing") / "run.csv").string() +
                                   ": No such file or directory"),
              std::string::npos)
        << nowhere.message;
}

TEST_F(PingSessionTest, WithoutASpoolASaveHoldsWhatMemoryKeeps) {
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
    EXPECT_EQ(Count(test::ReadText((folder / "short.csv").string()), "\r\n"), 4u);
}

}  // namespace
}  // namespace vigilon::ravelin
