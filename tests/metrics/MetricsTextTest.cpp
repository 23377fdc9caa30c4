// The metrics' text and the endpoint's answers, without a socket.
#include <gmock/gmock.h>

#include "HttpExchange.h"
#include "MetricsRecorder.h"

namespace vigilon::test {
namespace {

using metrics::MetricsRecorder;
using metrics::MetricsSnapshot;
using ::testing::HasSubstr;
using ::testing::Not;

TargetProbeFigures Answered(std::int64_t roundTripUs) {
    TargetProbeFigures probe;
    probe.answered = true;
    probe.roundTripUs = roundTripUs;
    probe.resolveUs = 2000;
    probe.durationUs = 2000 + roundTripUs;
    probe.hopLimit = 61;
    return probe;
}

TEST(MetricsRecorder, SaysNothingOfTheLatestProbeBeforeTheFirst) {
    MetricsSnapshot snapshot;
    MetricsRecorder recorder(snapshot);
    const std::string text = *snapshot.Current();
    EXPECT_THAT(text, HasSubstr("# TYPE probe_success gauge\n# HELP"));
    EXPECT_THAT(text, Not(HasSubstr("\nprobe_success ")));
    EXPECT_THAT(text, HasSubstr("\nvigilon_echo_requests_total 0\n"));
}

TEST(MetricsRecorder, KeepsItsCountsTheLatestProbeAndTheRoundTripHistogram) {
    MetricsSnapshot snapshot;
    std::vector<std::string> files;
    MetricsRecorder recorder(snapshot, [&](const std::string& text) { files.push_back(text); });

    recorder.TargetProbed(Answered(50));          // on the first bound: in it
    recorder.TargetProbed(Answered(51));          // just past it
    recorder.TargetProbed(Answered(30'000'000));  // past the last bound: +Inf only
    TargetProbeFigures silent;
    silent.durationUs = 1'000'000;
    recorder.TargetProbed(silent);
    TargetProbeFigures unresolved;
    unresolved.resolved = false;
    recorder.TargetProbed(unresolved);
    recorder.ControlProbed(false);
    recorder.ControlProbed(true);
    recorder.MailAttempted(false);
    recorder.MailAttempted(false);
    recorder.MailAttempted(true);
    EXPECT_TRUE(files.empty()) << "the file follows the cycles' ends";
    recorder.StateChanged(true, 3);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], *snapshot.Current());

    const std::string text = files[0];
    for (const char* line :
         {"\nprobe_success 0\n", "\nprobe_duration_seconds 0\n",
          "\nprobe_icmp_duration_seconds{phase=\"resolve\"} 0\n",
          "\nprobe_icmp_duration_seconds{phase=\"rtt\"} 0\n",
          "\nvigilon_echo_requests_total 6\n",  // four sent to the target, two to the control host
          "\nvigilon_target_timeouts_total 2\n", "\nvigilon_control_timeouts_total 1\n",
          "\nvigilon_alert_active 1\n", "\nvigilon_mails_waiting 3\n",
          "\nvigilon_mail_deliveries_total{outcome=\"delivered\"} 1\n",
          "\nvigilon_mail_deliveries_total{outcome=\"failed\"} 2\n",
          "\nvigilon_echo_rtt_seconds_bucket{le=\"5e-05\"} 1\n",
          "\nvigilon_echo_rtt_seconds_bucket{le=\"0.0001\"} 2\n",
          "\nvigilon_echo_rtt_seconds_bucket{le=\"0.1024\"} 2\n",
          "\nvigilon_echo_rtt_seconds_bucket{le=\"26.2144\"} 2\n",
          "\nvigilon_echo_rtt_seconds_bucket{le=\"+Inf\"} 3\n",
          "\nvigilon_echo_rtt_seconds_sum 30.000101\n", "\nvigilon_echo_rtt_seconds_count 3\n"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, Not(HasSubstr("probe_icmp_reply_hop_limit 61")))
        << "the latest probe had no answer";

    recorder.TargetProbed(Answered(1234));
    EXPECT_THAT(*snapshot.Current(), HasSubstr("\nprobe_success 1\n"));
    EXPECT_THAT(*snapshot.Current(),
                HasSubstr("\nprobe_icmp_duration_seconds{phase=\"rtt\"} 0.001234\n"));
    EXPECT_THAT(*snapshot.Current(), HasSubstr("\nprobe_icmp_reply_hop_limit 61\n"));
}

TEST(MetricsRecorder, TheBucketsDoubleFromFiftyMicrosecondsAndReadAsTheirDecimals) {
    std::vector<std::string> bounds;
    MetricsSnapshot snapshot;
    const std::string text = MetricsRecorder(snapshot).Exposition();
    for (std::size_t at = text.find("le=\""); at != std::string::npos;
         at = text.find("le=\"", at + 1))
        bounds.push_back(text.substr(at + 4, text.find('"', at + 4) - at - 4));
    EXPECT_EQ(bounds, (std::vector<std::string>{
                          "5e-05",  "0.0001", "0.0002", "0.0004", "0.0008",  "0.0016",  "0.0032",
                          "0.0064", "0.0128", "0.0256", "0.0512", "0.1024",  "0.2048",  "0.4096",
                          "0.8192", "1.6384", "3.2768", "6.5536", "13.1072", "26.2144", "+Inf"}));
}

TEST(HttpExchange, AnswersOnlyGetOfMetricsAndTellsTheRestWhy) {
    using metrics::RequestState;
    EXPECT_EQ(metrics::ReadRequestState("GET /metrics HTTP/1.1\r\nHost: x\r\n"),
              RequestState::Incomplete);
    EXPECT_EQ(metrics::ReadRequestState("GET /metrics HTTP/1.1\r\n\r\n"), RequestState::Complete);
    EXPECT_EQ(metrics::ReadRequestState("GET /metrics HTTP/1.0\n\n"), RequestState::Complete);
    EXPECT_EQ(metrics::ReadRequestState(std::string(metrics::kMaxRequestHead, 'x')),
              RequestState::TooLong);

    const std::string ok = metrics::RespondTo("GET /metrics?x=1 HTTP/1.1\r\n\r\n", "a 1\n");
    EXPECT_EQ(ok,
              "HTTP/1.1 200 OK\r\nContent-Type: text/plain; version=0.0.4; charset=utf-8\r\n"
              "Content-Length: 4\r\nConnection: close\r\n\r\na 1\n");
    EXPECT_THAT(metrics::RespondTo("POST /metrics HTTP/1.1\r\n\r\n", "a"),
                HasSubstr("HTTP/1.1 405 Method Not Allowed\r\n"));
    EXPECT_THAT(metrics::RespondTo("HEAD /metrics HTTP/1.1\r\n\r\n", "a"),
                HasSubstr("\r\nAllow: GET\r\n"));
    EXPECT_THAT(metrics::RespondTo("GET / HTTP/1.1\r\n\r\n", "a"),
                HasSubstr("HTTP/1.1 404 Not Found\r\n"));
    EXPECT_THAT(metrics::RespondTo("GET /metricsx HTTP/1.1\r\n\r\n", "a"),
                HasSubstr("HTTP/1.1 404 "));
    for (const char* junk :
         {"GET\r\n\r\n", "GET /metrics\r\n\r\n", "\x16\x03\x01 /metrics SSH-2.0\r\n\r\n"})
        EXPECT_THAT(metrics::RespondTo(junk, "a"), HasSubstr("HTTP/1.1 400 Bad Request\r\n"))
            << junk;
}

}  // namespace
}  // namespace vigilon::test
