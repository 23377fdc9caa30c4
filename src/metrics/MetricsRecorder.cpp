#include "MetricsRecorder.h"

#include <charconv>

namespace vigilon::metrics {

namespace {

// The shortest text that reads back as the same double, in plain decimals
// down to 0.0001 ("0.1024", not "1.024e-01"), below that as "5e-05".
std::string Number(double value) {
    char text[64];
    const bool tiny = value != 0 && value < 1e-4 && value > -1e-4;
    const auto end =
        tiny ? std::to_chars(text, text + sizeof text, value).ptr
             : std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

double Seconds(std::int64_t microseconds) { return static_cast<double>(microseconds) / 1e6; }

void Family(std::string& out, const char* name, const char* type, const char* help) {
    out += "# HELP ";
    out += name;
    out += ' ';
    out += help;
    out += "\n# TYPE ";
    out += name;
    out += ' ';
    out += type;
    out += '\n';
}

void Sample(std::string& out, const std::string& nameAndLabels, const std::string& value) {
    out += nameAndLabels;
    out += ' ';
    out += value;
    out += '\n';
}

}  // namespace

double RoundTripBucketBound(std::size_t index) {
    // Whole microseconds first, so that each bound is the decimal it names.
    return static_cast<double>(std::uint64_t{50} << index) / 1e6;
}

MetricsRecorder::MetricsRecorder(MetricsSnapshot& snapshot,
                                 std::function<void(const std::string&)> cycleEnded)
    : snapshot_(snapshot), cycleEnded_(std::move(cycleEnded)) {
    Publish();
}

void MetricsRecorder::TargetProbed(const TargetProbeFigures& probe) {
    probed_ = true;
    latest_ = probe;
    if (probe.resolved) ++echoRequests_;
    if (!probe.answered) ++targetTimeouts_;
    if (probe.answered && probe.roundTripUs >= 0) {
        const double seconds = Seconds(probe.roundTripUs);
        std::size_t bucket = 0;
        while (bucket < kRoundTripBuckets && seconds > RoundTripBucketBound(bucket))
            ++bucket;
        if (bucket < kRoundTripBuckets) ++buckets_[bucket];
        ++roundTrips_;
        roundTripSum_ += seconds;
    }
    Publish();
}

void MetricsRecorder::ControlProbed(bool answered) {
    ++echoRequests_;
    if (!answered) ++controlTimeouts_;
    Publish();
}

void MetricsRecorder::MailAttempted(bool delivered) {
    ++(delivered ? delivered_ : failed_);
    Publish();
}

void MetricsRecorder::StateChanged(bool alertActive, int mailsWaiting) {
    alertActive_ = alertActive;
    mailsWaiting_ = mailsWaiting;
    const std::string text = Exposition();
    snapshot_.Publish(text);
    if (cycleEnded_) cycleEnded_(text);
}

std::string MetricsRecorder::Exposition() const {
    std::string out;
    out.reserve(4096);
    Family(out, "probe_success", "gauge",
           "Whether the latest echo request to the target was answered.");
    if (probed_) Sample(out, "probe_success", latest_.answered ? "1" : "0");
    Family(out, "probe_duration_seconds", "gauge",
           "How long the latest target probe took, its name lookup included.");
    if (probed_) Sample(out, "probe_duration_seconds", Number(Seconds(latest_.durationUs)));
    Family(out, "probe_icmp_duration_seconds", "gauge", "The latest target probe's time by phase.");
    if (probed_) {
        Sample(out, "probe_icmp_duration_seconds{phase=\"resolve\"}",
               Number(Seconds(latest_.resolveUs)));
        Sample(out, "probe_icmp_duration_seconds{phase=\"rtt\"}",
               Number(latest_.answered && latest_.roundTripUs >= 0 ? Seconds(latest_.roundTripUs)
                                                                   : 0));
    }
    Family(out, "probe_icmp_reply_hop_limit", "gauge",
           "The hop limit (TTL) of the latest answer from the target.");
    if (probed_ && latest_.answered && latest_.hopLimit >= 0)
        Sample(out, "probe_icmp_reply_hop_limit", std::to_string(latest_.hopLimit));

    Family(out, "vigilon_echo_requests_total", "counter",
           "Echo requests sent to the target and the control host.");
    Sample(out, "vigilon_echo_requests_total", std::to_string(echoRequests_));
    Family(out, "vigilon_target_timeouts_total", "counter",
           "Target probes without an answer (time-outs, errors, names that did not resolve).");
    Sample(out, "vigilon_target_timeouts_total", std::to_string(targetTimeouts_));
    Family(out, "vigilon_control_timeouts_total", "counter",
           "Control host probes without an answer.");
    Sample(out, "vigilon_control_timeouts_total", std::to_string(controlTimeouts_));
    Family(out, "vigilon_alert_active", "gauge", "1 from an alert until the recovery after it.");
    Sample(out, "vigilon_alert_active", alertActive_ ? "1" : "0");
    Family(out, "vigilon_mail_deliveries_total", "counter",
           "Attempts to hand a mail to a server, by outcome.");
    Sample(out, "vigilon_mail_deliveries_total{outcome=\"delivered\"}", std::to_string(delivered_));
    Sample(out, "vigilon_mail_deliveries_total{outcome=\"failed\"}", std::to_string(failed_));
    Family(out, "vigilon_mails_waiting", "gauge",
           "Alert and recovery mails no server has taken yet.");
    Sample(out, "vigilon_mails_waiting", std::to_string(mailsWaiting_));

    Family(out, "vigilon_echo_rtt_seconds", "histogram",
           "Round trips of the target's echo answers.");
    std::uint64_t cumulative = 0;
    for (std::size_t i = 0; i < kRoundTripBuckets; ++i) {
        cumulative += buckets_[i];
        Sample(out,
               "vigilon_echo_rtt_seconds_bucket{le=\"" + Number(RoundTripBucketBound(i)) + "\"}",
               std::to_string(cumulative));
    }
    Sample(out, "vigilon_echo_rtt_seconds_bucket{le=\"+Inf\"}", std::to_string(roundTrips_));
    Sample(out, "vigilon_echo_rtt_seconds_sum", Number(roundTripSum_));
    Sample(out, "vigilon_echo_rtt_seconds_count", std::to_string(roundTrips_));
    return out;
}

}  // namespace vigilon::metrics
