// Runs ravelin's worker in the calling process's network namespace and
// prints what it tells, so that tests can run it through `ip netns exec`.
//
//   ravelin_ping_helper [--user ID] HOST INTERVAL DATASIZE COUNT
//
// Output lines: "started: ADDRESS raw|datagram", "failed: MESSAGE", and for
// each record "record: SEQ OUTCOME TTL BYTES RTT_US SENT_MS SETTLED_MS" (the
// outcome as a number, both times in ms since the helper began) followed by
// "line: TEXT". It stops the worker after COUNT records or when they are
// long overdue.

#include <grp.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "MonotonicClock.h"
#include "PingWorker.h"
#include "ReplyLines.h"

using namespace vigilon;
using namespace vigilon::ravelin;

namespace {

class PrintingEvents : public PingEvents {
public:
    explicit PrintingEvents(std::int64_t startUs) : startUs(startUs) {}

    void OnStarted(const IpAddress& address, bool datagramSocket) override {
        std::printf("started: %s %s\n", address.Text().c_str(),
                    datagramSocket ? "datagram" : "raw");
    }
    void OnRecord(const PingRecord& record) override {
        const EchoResult& r = record.result;
        std::printf("record: %u %d %d %d %lld %lld %lld\nline: %s\n", unsigned{r.sequence},
                    static_cast<int>(r.outcome), r.ttl, r.messageBytes,
                    static_cast<long long>(r.roundTripUs),
                    static_cast<long long>((r.sentAtUs - startUs) / 1000),
                    static_cast<long long>((MonotonicUs() - startUs) / 1000),
                    RecordLine(record).c_str());
        Count();
    }
    void OnFailed(const std::string& message) override {
        std::printf("failed: %s\n", message.c_str());
        Count(1000000);
    }

    void WaitFor(int count, std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex);
        wanted = count;
        changed.wait_for(lock, limit, [&] { return told >= wanted; });
    }

private:
    // Wakes the waiting thread only when it has all it waits for, so that
    // the benchmark counts no more than the worker's own work per record.
    void Count(int by = 1) {
        const std::lock_guard<std::mutex> lock(mutex);
        told += by;
        if (told >= wanted) changed.notify_all();
    }

    std::int64_t startUs;
    std::mutex mutex;
    std::condition_variable changed;
    int told = 0;
    int wanted = 1 << 30;
};

bool DropTo(const char* id) {
    const auto number = static_cast<unsigned>(std::strtoul(id, nullptr, 10));
    return setgroups(0, nullptr) == 0 && setgid(number) == 0 && setuid(number) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Written out whole at the end: one write per record would be the
    // helper's cost, not the worker's.
    static char output[1 << 20];
    std::setvbuf(stdout, output, _IOFBF, sizeof output);
    int next = 1;
    if (next + 1 < argc && std::string(argv[next]) == "--user") {
        if (!DropTo(argv[next + 1])) {
            std::perror("cannot change user");
            return 2;
        }
        next += 2;
    }
    if (argc - next != 4) {
        std::fprintf(stderr,
                     "usage: ravelin_ping_helper [--user ID] HOST INTERVAL DATASIZE COUNT\n");
        return 2;
    }
    PingSettings settings;
    settings.host = argv[next];
    settings.intervalSeconds = std::atof(argv[next + 1]);
    settings.dataSize = std::atoi(argv[next + 2]);
    const int count = std::atoi(argv[next + 3]);

    PrintingEvents events(MonotonicUs());
    PingWorker worker(events);
    worker.Start(settings);
    const double overdue = count * settings.intervalSeconds + settings.replyWaitSeconds + 10;
    events.WaitFor(count, std::chrono::milliseconds(static_cast<long>(overdue * 1000)));
    worker.Stop();
    std::fflush(stdout);
    return 0;
}
