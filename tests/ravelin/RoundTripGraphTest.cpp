// What the live graph lays out: the time span it shows, where each sample
// lands, the round-trip scale and the marks for time-outs and errors.

#include <gtest/gtest.h>

#include "RoundTripGraph.h"

namespace vigilon::ravelin {
namespace {

PingRecord Sample(double atSeconds, EchoOutcome outcome, double ms = 0) {
    PingRecord record;
    record.secondsIntoRun = atSeconds;
    record.result.outcome = outcome;
    record.result.roundTripUs = static_cast<std::int64_t>(ms * 1000);
    return record;
}

// A plot area 600 px wide and 100 px high, its corner at (40, 10).
RoundTripGraph::Plot LayOut(const RoundTripGraph& graph) { return graph.Layout(40, 10, 600, 100); }

TEST(RoundTripGraphTest, ShowsTheFirstMinuteThenTheRunThenTheLastFiveMinutes) {
    RoundTripGraph graph;
    graph.SetNow(12);
    EXPECT_EQ(graph.SpanStart(), 0);
    EXPECT_EQ(graph.SpanEnd(), 60);
    graph.SetNow(150);
    EXPECT_EQ(graph.SpanStart(), 0);
    EXPECT_EQ(graph.SpanEnd(), 150);
    graph.SetNow(420);
    EXPECT_EQ(graph.SpanStart(), 120);
    EXPECT_EQ(graph.SpanEnd(), 420);
}

TEST(RoundTripGraphTest, RepliesLandByTimeAndRoundTripTimeOutsAndErrorsAreMarked) {
    RoundTripGraph graph;
    graph.Add(Sample(0, EchoOutcome::Reply, 0.4));
    graph.Add(Sample(30, EchoOutcome::Reply, 0.2));
    graph.Add(Sample(45, EchoOutcome::Unreachable));
    // A time-out settles after later replies but is drawn where it was sent.
    graph.Add(Sample(50, EchoOutcome::Reply, 0.1));
    graph.Add(Sample(15, EchoOutcome::TimedOut));
    const RoundTripGraph::Plot plot = LayOut(graph);

    EXPECT_DOUBLE_EQ(plot.yTopMs, 0.5);  // 0.4 ms and room above it
    ASSERT_EQ(plot.replies.size(), 3u);
    EXPECT_DOUBLE_EQ(plot.replies[0].x, 40);
    EXPECT_DOUBLE_EQ(plot.replies[0].y, 10 + 100 - 80);
    EXPECT_DOUBLE_EQ(plot.replies[1].x, 40 + 300);
    EXPECT_DOUBLE_EQ(plot.replies[1].y, 10 + 100 - 40);
    EXPECT_DOUBLE_EQ(plot.replies[2].x, 40 + 500);
    EXPECT_EQ(plot.lost, std::vector<double>{40 + 150});
    EXPECT_EQ(plot.errors, std::vector<double>{40 + 450});
    // The line breaks where a time-out or an error lies between two answers.
    EXPECT_FALSE(plot.replies[0].joined);
    EXPECT_FALSE(plot.replies[1].joined);
    EXPECT_FALSE(plot.replies[2].joined);
    graph.Add(Sample(55, EchoOutcome::Reply, 0.1));
    EXPECT_TRUE(LayOut(graph).replies[3].joined);
}

TEST(RoundTripGraphTest, SamplesOlderThanTheSpanAreDropped) {
    RoundTripGraph graph;
    for (int second = 0; second <= 400; second += 100)
        graph.Add(Sample(second, EchoOutcome::Reply, second == 0 ? 90 : 1));
    ASSERT_EQ(graph.Samples().size(), 4u);
    EXPECT_EQ(graph.Samples().front().atSeconds, 100);
    // The dropped 90 ms no longer sets the scale.
    EXPECT_DOUBLE_EQ(LayOut(graph).yTopMs, 2);
}

TEST(RoundTripGraphTest, ScaleEndsOnARoundValueWithRoundSteps) {
    EXPECT_DOUBLE_EQ(NiceCeiling(0.043), 0.05);
    EXPECT_DOUBLE_EQ(NiceCeiling(0.3), 0.5);
    EXPECT_DOUBLE_EQ(NiceCeiling(1), 1);
    EXPECT_DOUBLE_EQ(NiceCeiling(1.2), 2);
    EXPECT_DOUBLE_EQ(NiceCeiling(730), 1000);

    RoundTripGraph graph;
    graph.Add(Sample(1, EchoOutcome::Reply, 1.5));  // 1.65 with room: top 2 ms in 4 steps
    const RoundTripGraph::Plot plot = LayOut(graph);
    ASSERT_EQ(plot.yTicks.size(), 5u);
    EXPECT_EQ(plot.yTicks.front().label, "0");
    EXPECT_DOUBLE_EQ(plot.yTicks.front().position, 110);
    EXPECT_EQ(plot.yTicks[1].label, "0.50 ms");
    EXPECT_EQ(plot.yTicks.back().label, "2.0 ms");
    EXPECT_DOUBLE_EQ(plot.yTicks.back().position, 10);
    // Without a reply the scale still has a height.
    EXPECT_DOUBLE_EQ(LayOut(RoundTripGraph{}).yTopMs, 0.1);
}

TEST(RoundTripGraphTest, TimeAxisIsLabelledInMinutesAndSeconds) {
    RoundTripGraph graph;
    graph.SetNow(200);
    const RoundTripGraph::Plot plot = LayOut(graph);
    ASSERT_GE(plot.xTicks.size(), 3u);
    ASSERT_LE(plot.xTicks.size(), 7u);
    EXPECT_EQ(plot.xTicks[0].label, "0:00");
    EXPECT_EQ(plot.xTicks[1].label, "1:00");
    EXPECT_DOUBLE_EQ(plot.xTicks[1].position, 40 + 600 * 60 / 200.0);
}

}  // namespace
}  // namespace vigilon::ravelin
