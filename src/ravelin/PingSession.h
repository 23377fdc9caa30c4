#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "IpAddress.h"
#include "PingRecord.h"
#include "PingStatistics.h"
#include "PingWorker.h"
#include "RoundTripGraph.h"
#include "RunExport.h"
#include "RunSpool.h"

namespace vigilon::ravelin {

// Ravelin's runs, one after another, without a window: what a run is started
// with, what it keeps while it goes and how it is saved. Everything is called
// on one thread; what the worker tells comes with the number of the run it
// belongs to, and calls still queued from an earlier run are dropped.
//
// Memory keeps the latest kMostKept lines and records, and the graph its own
// window; the statistics count the whole run. Every line and record is also
// spooled to a file, so that a save writes the whole run; the spool goes
// when the next run begins or the session ends.
class PingSession {
public:
    static constexpr double kShortestInterval = 0.2;
    static constexpr double kLongestInterval = 60;
    static constexpr int kLargestPayload = PingSettings::kMaxDataSize;
    static constexpr std::size_t kMostKept = 100000;

    explicit PingSession(std::string spoolFolder = SpoolFolder());

    // Drops the last run and begins a new one: the settings for the worker,
    // the interval and payload brought within their limits. Without a host,
    // none, and the last run stays.
    std::optional<PingSettings> Begin(const std::string& host, double intervalSeconds,
                                      int dataSize);
    int RunNumber() const { return runNumber; }

    // What the worker told, each with the line it made; none when the call
    // came from an earlier run.
    std::optional<std::string> Started(int run, const IpAddress& address);
    std::optional<std::string> Recorded(int run, const PingRecord& record);
    std::optional<std::string> Failed(int run, const std::string& message);

    // Moves the graph's present to the monotonic clock's now.
    void Tick();

    const std::string& Host() const { return host; }
    const std::string& Address() const { return address; }
    const std::deque<std::string>& Lines() const { return lines; }
    const std::deque<PingRecord>& Records() const { return records; }
    const PingStatistics& Statistics() const { return statistics; }
    const RoundTripGraph& Graph() const { return graph; }
    // The lines kept, each ended by a line break.
    std::string LinesText() const;

    struct SaveReport {
        bool saved = false;
        // Why it was not saved, or what the saved file lacks; empty when whole.
        std::string message;
    };
    // Writes the whole run to path from the spool; when the spool failed,
    // what memory keeps, and says so when that is not all of it.
    SaveReport Save(const std::string& path, ExportFormat format);

private:
    // Whether a call from run belongs to the run going.
    bool Accepts(int run) const;
    // Holds a line in memory, the oldest going past kMostKept.
    void Keep(const std::string& line);

    std::string spoolFolder;
    std::unique_ptr<RunSpool> spool;
    std::string host;
    std::string address;
    int dataSize = 0;
    std::int64_t startUs = 0;
    std::deque<std::string> lines;
    std::deque<PingRecord> records;
    std::int64_t recordsDropped = 0;
    std::int64_t linesDropped = 0;
    PingStatistics statistics;
    RoundTripGraph graph;
    int runNumber = 0;
};

}  // namespace vigilon::ravelin
