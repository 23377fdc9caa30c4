// Ravelin's worker on Windows against the loopback address: requests at an
// interval answered through IcmpSendEcho2 with Windows' whole milliseconds,
// and a stop that ends the wait at once, not at the next request.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "PingWorker.h"
#include "ReplyLines.h"

namespace vigilon::ravelin {
namespace {

using namespace std::chrono_literals;

class CollectedEvents : public PingEvents {
public:
    void OnStarted(const IpAddress& address, bool datagramSocket) override {
        const std::lock_guard lock(mutex);
        started = address.Text() + (datagramSocket ? " unprivileged" : " raw");
        changed.notify_all();
    }
    void OnRecord(const PingRecord& record) override {
        const std::lock_guard lock(mutex);
        records.push_back(record);
        changed.notify_all();
    }
    void OnFailed(const std::string& message) override {
        const std::lock_guard lock(mutex);
        failure = message;
        changed.notify_all();
    }
    // Waits until count records or a failure came, or long past when they
    // were due.
    bool AwaitRecords(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 30s, [&] {
            return records.size() >= count || !failure.empty();
        }) && records.size() >= count;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::string started;
    std::vector<PingRecord> records;
    std::string failure;
};

TEST(WindowsPingWorker, LoopbackAnswersInSequenceInWholeMilliseconds) {
    CollectedEvents events;
    PingWorker worker(events);
    PingSettings settings;
    settings.host = "127.0.0.1";
    settings.intervalSeconds = 0.2;
    worker.Start(settings);
    ASSERT_TRUE(events.AwaitRecords(3)) << events.failure;
    worker.Stop();
    EXPECT_EQ(events.started, "127.0.0.1 unprivileged");
    for (std::size_t i = 0; i < 3; ++i) {
        const EchoResult& result = events.records[i].result;
        EXPECT_EQ(result.outcome, EchoOutcome::Reply);
        EXPECT_EQ(result.sequence, i + 1);
        EXPECT_EQ(result.roundTripUs % 1000, 0);
        const std::string line = RecordLine(events.records[i]);
        EXPECT_TRUE(std::regex_match(
            line, std::regex("64 bytes from 127\\.0\\.0\\.1: icmp_seq=" + std::to_string(i + 1) +
                             R"( ttl=\d+ time=\d+\.\d+ ms)")))
            << line;
    }
}

TEST(WindowsPingWorker, StopEndsTheWaitAtOnce) {
    CollectedEvents events;
    PingWorker worker(events);
    PingSettings settings;
    settings.host = "127.0.0.1";
    settings.intervalSeconds = 60;  // the next request, and the wait's deadline, are far
    worker.Start(settings);
    ASSERT_TRUE(events.AwaitRecords(1)) << events.failure;
    const auto asked = std::chrono::steady_clock::now();
    worker.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 20s) << "the wait ran on to its deadline";
    EXPECT_FALSE(worker.Running());
}

}  // namespace
}  // namespace vigilon::ravelin
