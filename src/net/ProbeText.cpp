#include "ProbeText.h"

#include <cstdio>

#include "ProbeResult.h"

namespace vigilon {

namespace {

std::string WithCode(const char* format, int code) {
    char text[96];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

std::string LocalFailure(const EchoResult& result, const std::string& host) {
    switch (result.step) {
        case LocalStep::OpenSocket: return WithCode("WSASocket() failed: %d", result.error);
        case LocalStep::SetSendTimeout:
            return WithCode("failed to set send timeout: %d", result.error);
        case LocalStep::Resolve: return "Unable to resolve " + host;
        case LocalStep::Allocate: return WithCode("HeapAlloc failed %d", result.error);
        case LocalStep::Send: return WithCode("sendto failed: %d", result.error);
        case LocalStep::Receive: break;
    }
    return WithCode("recvfrom failed: %d", result.error);
}

// The ticks of the millisecond clock between send and arrival, as a tick
// count read at both ends gives them.
int MillisecondTicks(const EchoResult& result) {
    return static_cast<int>((result.sentAtUs + result.roundTripUs) / 1000 - result.sentAtUs / 1000);
}

}  // namespace

std::string ProbeText(const EchoResult& result, const std::string& host) {
    char text[160];
    switch (result.outcome) {
        case EchoOutcome::Reply:
            // The whole datagram is counted, IP header included.
            std::snprintf(text, sizeof text, "%d bytes from %s: icmp_seq = %d.  time: %d ms",
                          result.ipHeaderBytes + result.messageBytes, result.source.Text().c_str(),
                          static_cast<int>(result.sequence), MillisecondTicks(result));
            return text;
        case EchoOutcome::TimedOut: return kTimedOut;
        case EchoOutcome::ForeignReply: return "someone else's packet!";
        case EchoOutcome::TooShort:
            std::snprintf(text, sizeof text, "Too few bytes from %s", result.source.Text().c_str());
            return text;
        case EchoOutcome::LocalError: return LocalFailure(result, host);
        case EchoOutcome::Unreachable:
        case EchoOutcome::SourceQuench:
        case EchoOutcome::Redirect:
        case EchoOutcome::TimeExceeded:
        case EchoOutcome::ParameterProblem:
        case EchoOutcome::PacketTooBig:
        case EchoOutcome::OtherMessage: break;
    }
    std::snprintf(text, sizeof text, "non-echo type %u recvd",
                  static_cast<unsigned>(result.icmpType));
    return text;
}

}  // namespace vigilon
