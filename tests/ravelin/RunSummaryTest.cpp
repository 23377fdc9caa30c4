// Statistics, CSV and text of one known run.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../mail/ScopedTimeZone.h"
#include "PingStatistics.h"
#include "RunExport.h"
#include "TestAddress.h"

namespace vigilon::ravelin {
namespace {

// Replies of 100, 200, 300 and 400 us, a time-out, an unreachable host and
// a refused send, one second apart from 2024-03-09 11:59:58.5 UTC.
std::vector<PingRecord> KnownRun() {
    const auto start = std::chrono::system_clock::time_point(std::chrono::seconds(1709985598)) +
                       std::chrono::milliseconds(500);
    std::vector<PingRecord> run;
    auto add = [&](EchoOutcome outcome, std::int64_t us) {
        PingRecord record;
        record.result.outcome = outcome;
        record.result.sequence = static_cast<std::uint16_t>(run.size() + 1);
        record.result.roundTripUs = us;
        record.result.messageBytes = 64;
        record.result.source =
            test::V4Address(outcome == EchoOutcome::Unreachable ? "192.0.2.1" : "192.0.2.2");
        record.sentAt = start + std::chrono::seconds(run.size());
        record.secondsIntoRun = static_cast<double>(run.size());
        run.push_back(record);
    };
    add(EchoOutcome::Reply, 100);
    add(EchoOutcome::Reply, 200);
    add(EchoOutcome::TimedOut, 0);
    add(EchoOutcome::Reply, 300);
    add(EchoOutcome::Unreachable, 0);
    run.back().result.icmpCode = 1;
    add(EchoOutcome::Reply, 400);
    add(EchoOutcome::LocalError, 0);
    run.back().result.error = EPERM;
    return run;
}

PingStatistics Counted(const std::vector<PingRecord>& run) {
    PingStatistics statistics;
    for (const PingRecord& record : run)
        statistics.Add(record);
    return statistics;
}

// A folder of this test's own, removed with it.
class RunFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // What a writer of format leaves in a file after the header line and the
    // known run's records, or the error when it could not write.
    std::string Written(ExportFormat format, const std::string& name = "run") {
        const std::string path = (folder / name).string();
        RunFileWriter writer(path, format);
        writer.Line("PING gateway (192.0.2.2) 56(84) bytes of data.");
        const std::vector<PingRecord> run = KnownRun();
        for (const PingRecord& record : run)
            writer.Record(record);
        std::string error;
        if (!writer.Finish("gateway", Counted(run), error)) return error;
        std::ifstream saved(path, std::ios::binary);
        std::ostringstream read;
        read << saved.rdbuf();
        return read.str();
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("ravelin-save-" + std::to_string(getpid()));
};

TEST(RunSummaryTest, StatisticsOfAKnownRun) {
    const PingStatistics statistics = Counted(KnownRun());
    EXPECT_EQ(statistics.Sent(), 7);
    EXPECT_EQ(statistics.Received(), 4);
    EXPECT_EQ(statistics.Errors(), 2);
    EXPECT_NEAR(statistics.LossPercent(), 300.0 / 7, 1e-9);
    EXPECT_EQ(statistics.MinUs(), 100);
    EXPECT_EQ(statistics.MaxUs(), 400);
    EXPECT_DOUBLE_EQ(statistics.AverageUs(), 250);
    // sqrt((100^2 + 200^2 + 300^2 + 400^2) / 4 - 250^2) = sqrt(12500)
    EXPECT_NEAR(statistics.MdevUs(), 111.8034, 1e-4);
    EXPECT_EQ(SummaryLines(statistics),
              (std::vector<std::string>{
                  "7 packets transmitted, 4 received, +2 errors, 42.8571% packet loss",
                  "rtt min/avg/max/mdev = 0.100/0.250/0.400/0.112 ms"}));
}

TEST(RunSummaryTest, NoAnswerYetShowsNoTimes) {
    EXPECT_EQ(SummaryLines(PingStatistics{}),
              std::vector<std::string>{"0 packets transmitted, 0 received, 0% packet loss"});
    PingStatistics equal;
    PingRecord record;
    record.result.outcome = EchoOutcome::Reply;
    record.result.roundTripUs = 333;
    for (int i = 0; i < 3; ++i)
        equal.Add(record);
    EXPECT_EQ(equal.MdevUs(), 0.0);  // not the square root of a rounding error below zero
}

TEST_F(RunFileTest, CsvOfAKnownRunInLocalTimeWithItsOffset) {
    test::ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    // The header line is no record and has no row.
    EXPECT_EQ(Written(ExportFormat::Csv),
              "time,seq,rtt_ms,outcome\r\n"
              "2024-03-09T12:59:58.500+01:00,1,0.100,reply\r\n"
              "2024-03-09T12:59:59.500+01:00,2,0.200,reply\r\n"
              "2024-03-09T13:00:00.500+01:00,3,,timeout\r\n"
              "2024-03-09T13:00:01.500+01:00,4,0.300,reply\r\n"
              "2024-03-09T13:00:02.500+01:00,5,,Destination Host Unreachable from 192.0.2.1\r\n"
              "2024-03-09T13:00:03.500+01:00,6,0.400,reply\r\n"
              "2024-03-09T13:00:04.500+01:00,7,,local error: Operation not permitted\r\n");
    test::ScopedTimeZone west("UTC+5");
    EXPECT_EQ(IsoLocalTime(KnownRun()[0].sentAt), "2024-03-09T06:59:58.500-05:00");
}

TEST(RunSummaryTest, CsvQuotesAnOutcomeWithASeparator) {
    PingRecord record = KnownRun()[4];
    record.result.icmpCode = 99;
    const std::string row = CsvRow(record);
    EXPECT_NE(row.find(",5,,\"Destination Unreachable, Bad Code: 99 from 192.0.2.1\"\r\n"),
              std::string::npos)
        << row;
}

TEST_F(RunFileTest, TextHoldsTheLinesAndTheStatistics) {
    EXPECT_EQ(Written(ExportFormat::Text),
              "PING gateway (192.0.2.2) 56(84) bytes of data.\n"
              "64 bytes from 192.0.2.2: icmp_seq=1 time=0.100 ms\n"
              "64 bytes from 192.0.2.2: icmp_seq=2 time=0.200 ms\n"
              "Request timeout for icmp_seq=3\n"
              "64 bytes from 192.0.2.2: icmp_seq=4 time=0.300 ms\n"
              "From 192.0.2.1 icmp_seq=5 Destination Host Unreachable\n"
              "64 bytes from 192.0.2.2: icmp_seq=6 time=0.400 ms\n"
              "Local error for icmp_seq=7: Operation not permitted\n"
              "\n--- gateway ping statistics ---\n"
              "7 packets transmitted, 4 received, +2 errors, 42.8571% packet loss\n"
              "rtt min/avg/max/mdev = 0.100/0.250/0.400/0.112 ms\n");
    EXPECT_EQ(
        Written(ExportFormat::Text, "missing/run.txt"),
        "Cannot write " + (folder / "missing/run.txt").string() + ": No such file or directory");
}

}  // namespace
}  // namespace vigilon::ravelin
