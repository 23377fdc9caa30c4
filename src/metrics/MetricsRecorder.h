#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "MetricsSnapshot.h"
#include "RunObserver.h"

namespace vigilon::metrics {

// The round-trip histogram's upper bounds: 50 µs doubling to 26.2144 s.
inline constexpr std::size_t kRoundTripBuckets = 20;
double RoundTripBucketBound(std::size_t index);

// The run's figures as Prometheus metrics. It observes the engine on the
// engine's thread and keeps its own counters, which unlike the window's
// never start again every 24 hours, so rates stay right across the daily
// reset. After every change it publishes the text to snapshot; at the end
// of every cycle it also hands the text to cycleEnded (the textfile).
class MetricsRecorder : public RunObserver {
public:
    explicit MetricsRecorder(MetricsSnapshot& snapshot,
                             std::function<void(const std::string&)> cycleEnded = {});

    void TargetProbed(const TargetProbeFigures& probe) override;
    void ControlProbed(bool answered) override;
    void MailAttempted(bool delivered) override;
    void StateChanged(bool alertActive, int mailsWaiting) override;

    // The text exposition format 0.0.4 of the figures so far.
    std::string Exposition() const;

private:
    void Publish() { snapshot_.Publish(Exposition()); }

    MetricsSnapshot& snapshot_;
    std::function<void(const std::string&)> cycleEnded_;
    bool probed_ = false;  // nothing is said of the latest probe before the first
    TargetProbeFigures latest_;
    std::uint64_t echoRequests_ = 0;
    std::uint64_t targetTimeouts_ = 0;
    std::uint64_t controlTimeouts_ = 0;
    std::uint64_t delivered_ = 0;
    std::uint64_t failed_ = 0;
    bool alertActive_ = false;
    int mailsWaiting_ = 0;
    std::array<std::uint64_t, kRoundTripBuckets> buckets_{};  // not cumulative
    std::uint64_t roundTrips_ = 0;
    double roundTripSum_ = 0;
};

}  // namespace vigilon::metrics
