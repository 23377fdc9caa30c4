#include "PingStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vigilon::ravelin {

void PingStatistics::Add(const PingRecord& record) {
    ++sent;
    const EchoResult& result = record.result;
    if (result.outcome == EchoOutcome::Reply) {
        const std::int64_t us = result.roundTripUs;
        minUs = received == 0 ? us : std::min(minUs, us);
        maxUs = std::max(maxUs, us);
        sumUs += static_cast<double>(us);
        sumSquaresUs += static_cast<double>(us) * static_cast<double>(us);
        ++received;
    } else if (result.outcome != EchoOutcome::TimedOut) {
        ++errors;
    }
}

double PingStatistics::LossPercent() const {
    return sent == 0 ? 0.0 : 100.0 * (sent - received) / sent;
}

double PingStatistics::AverageUs() const { return received == 0 ? 0.0 : sumUs / received; }

double PingStatistics::MdevUs() const {
    if (received == 0) return 0.0;
    const double mean = AverageUs();
    // Rounding can take the difference a hair below zero for equal times.
    return std::sqrt(std::max(0.0, sumSquaresUs / received - mean * mean));
}

std::vector<std::string> SummaryLines(const PingStatistics& statistics) {
    char text[160];
    std::string counts = std::to_string(statistics.Sent()) + " packets transmitted, " +
                         std::to_string(statistics.Received()) + " received, ";
    if (statistics.Errors() > 0) counts += "+" + std::to_string(statistics.Errors()) + " errors, ";
    std::snprintf(text, sizeof text, "%g%% packet loss", statistics.LossPercent());
    std::vector<std::string> lines{counts + text};
    if (statistics.Received() > 0) {
        std::snprintf(text, sizeof text, "rtt min/avg/max/mdev = %.3f/%.3f/%.3f/%.3f ms",
                      statistics.MinUs() / 1000.0, statistics.AverageUs() / 1000.0,
                      statistics.MaxUs() / 1000.0, statistics.MdevUs() / 1000.0);
        lines.emplace_back(text);
    }
    return lines;
}

}  // namespace vigilon::ravelin
