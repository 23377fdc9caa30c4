#include "RoundTripGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vigilon::ravelin {

namespace {

// The round-trip axis never shrinks below a tenth of a millisecond.
constexpr double kLowestTopMs = 0.1;
// Room above the highest point.
constexpr double kHeadroom = 1.1;

std::string AxisMs(double ms) {
    char text[32];
    if (ms == 0) return "0";
    if (ms < 1)
        std::snprintf(text, sizeof text, "%.2f", ms);
    else if (ms < 10)
        std::snprintf(text, sizeof text, "%.1f", ms);
    else
        std::snprintf(text, sizeof text, "%.0f", ms);
    return std::string(text) + " ms";
}

std::string AxisTime(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

// Between three and six labels along the time axis.
double TimeStep(double span) {
    for (double step : {5.0, 10.0, 15.0, 30.0, 60.0})
        if (span / step <= 6) return step;
    return 60.0;
}

}  // namespace

double NiceCeiling(double value) {
    if (value <= 0) return 0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        // A little slack, so that 0.3 does not become 0.5 through rounding.
        if (value <= factor * power * (1 + 1e-9)) return factor * power;
    return 10 * power;
}

void RoundTripGraph::Add(const PingRecord& record) {
    const EchoOutcome outcome = record.result.outcome;
    const Mark mark = outcome == EchoOutcome::Reply      ? Mark::Reply
                      : outcome == EchoOutcome::TimedOut ? Mark::Lost
                                                         : Mark::Error;
    const Sample sample{record.secondsIntoRun,
                        static_cast<double>(record.result.roundTripUs) / 1000.0, mark};
    // Outcomes come in the order they settle, not the order they were sent.
    const auto at = std::upper_bound(
        samples.begin(), samples.end(), sample.atSeconds,
        [](double seconds, const Sample& other) { return seconds < other.atSeconds; });
    samples.insert(at, sample);
    now = std::max(now, sample.atSeconds);
    while (!samples.empty() && samples.front().atSeconds < SpanStart())
        samples.pop_front();
}

void RoundTripGraph::Clear() {
    samples.clear();
    now = 0;
}

void RoundTripGraph::SetNow(double secondsIntoRun) {
    now = std::max(now, secondsIntoRun);
    while (!samples.empty() && samples.front().atSeconds < SpanStart())
        samples.pop_front();
}

double RoundTripGraph::SpanEnd() const { return std::max(now, kShortestSpan); }

double RoundTripGraph::SpanStart() const { return std::max(0.0, now - kLongestSpan); }

RoundTripGraph::Plot RoundTripGraph::Layout(double left, double top, double width,
                                            double height) const {
    Plot plot;
    double highest = 0;
    for (const Sample& sample : samples)
        if (sample.mark == Mark::Reply) highest = std::max(highest, sample.roundTripMs);
    plot.yTopMs = std::max(kLowestTopMs, NiceCeiling(highest * kHeadroom));

    const double start = SpanStart();
    const double span = SpanEnd() - start;
    auto xOf = [&](double seconds) { return left + (seconds - start) / span * width; };
    auto yOf = [&](double ms) { return top + height - ms / plot.yTopMs * height; };
    bool gap = true;
    for (const Sample& sample : samples) {
        if (sample.mark == Mark::Reply) {
            plot.replies.push_back({xOf(sample.atSeconds), yOf(sample.roundTripMs), !gap});
            gap = false;
        } else {
            (sample.mark == Mark::Lost ? plot.lost : plot.errors).push_back(xOf(sample.atSeconds));
            gap = true;
        }
    }

    // Five steps for a top of 1 or 5 times a power of ten, four for 2.
    const double mantissa = plot.yTopMs / std::pow(10.0, std::floor(std::log10(plot.yTopMs)));
    const int steps = std::lround(mantissa) == 2 ? 4 : 5;
    for (int i = 0; i <= steps; ++i) {
        const double ms = plot.yTopMs * i / steps;
        plot.yTicks.push_back({yOf(ms), AxisMs(ms)});
    }
    const double step = TimeStep(span);
    // Counted in whole steps: a sum of steps would drift.
    for (auto n = static_cast<long long>(std::ceil(start / step)); n * step <= SpanEnd(); ++n)
        plot.xTicks.push_back({xOf(n * step), AxisTime(n * step)});
    return plot;
}

}  // namespace vigilon::ravelin
