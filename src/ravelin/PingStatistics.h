#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PingRecord.h"

namespace vigilon::ravelin {

// The running count of a run. Every settled request counts as sent; only
// echo answers as received; ICMP errors and local errors also as errors.
// Requests still waiting when a run stops are not counted at all.
class PingStatistics {
public:
    void Add(const PingRecord& record);
    void Clear() { *this = PingStatistics{}; }

    int Sent() const { return sent; }
    int Received() const { return received; }
    int Errors() const { return errors; }
    double LossPercent() const;
    // Round trips of the answers in microseconds; 0 before the first answer.
    std::int64_t MinUs() const { return received > 0 ? minUs : 0; }
    std::int64_t MaxUs() const { return maxUs; }
    double AverageUs() const;
    // The standard deviation of the round trips: the square root of the mean
    // of their squares less the square of their mean.
    double MdevUs() const;

private:
    int sent = 0;
    int received = 0;
    int errors = 0;
    std::int64_t minUs = 0;
    std::int64_t maxUs = 0;
    double sumUs = 0;
    double sumSquaresUs = 0;
};

// "5 packets transmitted, 4 received, +1 errors, 20% packet loss", and once
// an answer came, "rtt min/avg/max/mdev = 0.042/0.055/0.071/0.010 ms".
std::vector<std::string> SummaryLines(const PingStatistics& statistics);

}  // namespace vigilon::ravelin
