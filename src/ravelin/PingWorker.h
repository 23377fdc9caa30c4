#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "IpAddress.h"
#include "PingRecord.h"

namespace vigilon::ravelin {

struct PingSettings {
    static constexpr int kMaxDataSize = 1012;

    std::string host;               // a name, a dotted IPv4 or an IPv6 address
    double intervalSeconds = 1.0;   // between requests, whatever became of the last
    int dataSize = 56;              // 0 to kMaxDataSize
    double replyWaitSeconds = 2.0;  // a request that waits longer has timed out
    std::string programPath;        // named in the message about missing privileges
};

// What a run tells; called on the run's own thread, one call at a time.
class PingEvents {
public:
    virtual ~PingEvents() = default;
    // The host resolved and a socket is open: requests follow.
    virtual void OnStarted(const IpAddress& address, bool datagramSocket) = 0;
    // A request settled: answered, timed out, or refused with an error.
    virtual void OnRecord(const PingRecord& record) = 0;
    // The run could not start and has ended.
    virtual void OnFailed(const std::string& message) = 0;
};

// Runs echo requests at an interval on a thread of its own, several waiting
// at once, until stopped. Stopping wakes the thread's wait and returns once
// it has ended; requests still waiting are dropped.
class PingWorker {
public:
    explicit PingWorker(PingEvents& events) : events(events) {}
    ~PingWorker() { Stop(); }
    PingWorker(const PingWorker&) = delete;
    PingWorker& operator=(const PingWorker&) = delete;

    // Stops a run still going, then starts a new one.
    void Start(const PingSettings& settings);
    void Stop();
    bool Running() const { return thread.joinable(); }

    // The name the run's thread carries, for those who look for it.
    static constexpr const char* kThreadName = "ravelin-ping";

private:
    PingEvents& events;
    std::jthread thread;
};

// The message for a socket that could not be opened: on Linux, for want of
// privileges how to grant them, else the system's reason (posix/ and win/
// SocketFailure.cpp).
std::string SocketFailureMessage(int error, const std::string& programPath);

}  // namespace vigilon::ravelin
