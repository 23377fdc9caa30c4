#pragma once

#include <deque>
#include <string>
#include <vector>

#include "PingRecord.h"

namespace vigilon::ravelin {

// What the live graph shows: the round trips of the last minutes against the
// time they were sent, time-outs and errors marked where they were sent. The
// time axis covers the first minute while a run is young, then the whole run,
// then slides along with the last five minutes.
class RoundTripGraph {
public:
    static constexpr double kShortestSpan = 60;
    static constexpr double kLongestSpan = 300;

    enum class Mark { Reply, Lost, Error };
    struct Sample {
        double atSeconds;  // into the run
        double roundTripMs;
        Mark mark;
    };

    struct Point {
        double x;
        double y;
        // Joined by the line to the answer before: no time-out or error
        // came between them, so the line does not paper over an outage.
        bool joined;
    };
    struct Tick {
        double position;  // x or y in pixels
        std::string label;
    };
    // Everything in pixels of the plot area given to Layout.
    struct Plot {
        std::vector<Point> replies;  // in time order
        std::vector<double> lost;    // x of each time-out
        std::vector<double> errors;  // x of each ICMP or local error
        std::vector<Tick> xTicks;
        std::vector<Tick> yTicks;
        double yTopMs = 0;
    };

    void Add(const PingRecord& record);
    void Clear();
    // The run's present moment, which ends the time axis.
    void SetNow(double secondsIntoRun);

    double SpanStart() const;
    double SpanEnd() const;
    const std::deque<Sample>& Samples() const { return samples; }

    // Lays the visible samples out in a plot area of left, top, width, height.
    Plot Layout(double left, double top, double width, double height) const;

private:
    std::deque<Sample> samples;
    double now = 0;
};

// The smallest of 1, 2 and 5 times a power of ten at or above value.
double NiceCeiling(double value);

}  // namespace vigilon::ravelin
