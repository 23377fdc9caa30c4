#include "ReplyLines.h"

#include <cstdio>

#include "ErrorText.h"
#include "IcmpWire.h"
#include "Icmpv6Wire.h"

namespace vigilon::ravelin {

namespace {

std::string Printf(const char* format, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string Unreachable(const EchoResult& result) {
    static const char* const kCodes[] = {
        "Destination Net Unreachable",
        "Destination Host Unreachable",
        "Destination Protocol Unreachable",
        "Destination Port Unreachable",
        nullptr,  // fragmentation needed: with the MTU below
        "Source Route Failed",
        "Destination Net Unknown",
        "Destination Host Unknown",
        "Source Host Isolated",
        "Destination Net Prohibited",
        "Destination Host Prohibited",
        "Destination Net Unreachable for Type of Service",
        "Destination Host Unreachable for Type of Service",
        "Packet filtered",
        "Precedence Violation",
        "Precedence Cutoff",
    };
    if (result.icmpCode == 4) return Printf("Frag needed and DF set (mtu = %u)", result.icmpInfo);
    if (result.icmpCode < std::size(kCodes)) return kCodes[result.icmpCode];
    return Printf("Destination Unreachable, Bad Code: %u", unsigned{result.icmpCode});
}

std::string Redirect(const EchoResult& result) {
    static const char* const kCodes[] = {"Redirect Network", "Redirect Host",
                                         "Redirect Type of Service and Network",
                                         "Redirect Type of Service and Host"};
    const std::string kind =
        result.icmpCode < std::size(kCodes) ? kCodes[result.icmpCode] : "Redirect, Bad Code";
    in_addr gateway{};
    gateway.s_addr = result.icmpInfo;
    return kind + " (New nexthop: " + Dotted(gateway) + ")";
}

// ICMPv6's errors (RFC 4443) by their own codes.
std::string DescribeIcmpv6Error(const EchoResult& result) {
    static const char* const kUnreachable[] = {
        "No route",
        "Administratively prohibited",
        "Beyond scope of source address",
        "Address unreachable",
        "Port unreachable",
        "Source address failed ingress/egress policy",
        "Reject route to destination",
    };
    static const char* const kParameter[] = {"Erroneous header field", "Unrecognized next header",
                                             "Unrecognized IPv6 option"};
    const unsigned code = result.icmpCode;
    switch (result.outcome) {
        case EchoOutcome::Unreachable:
            if (code < std::size(kUnreachable))
                return std::string("Destination unreachable: ") + kUnreachable[code];
            return Printf("Destination unreachable: Unknown code %u", code);
        case EchoOutcome::PacketTooBig: return Printf("Packet too big: mtu=%u", result.icmpInfo);
        case EchoOutcome::TimeExceeded:
            if (code == 0) return "Time exceeded: Hop limit";
            if (code == 1) return "Time exceeded: Defragmentation failure";
            return Printf("Time exceeded: Unknown code %u", code);
        case EchoOutcome::ParameterProblem:
            if (code < std::size(kParameter))
                return Printf("Parameter problem: %s at %u", kParameter[code], result.icmpInfo);
            return Printf("Parameter problem: Unknown code %u at %u", code, result.icmpInfo);
        default: break;
    }
    return Printf("Bad ICMPv6 type: %u", unsigned{result.icmpType});
}

}  // namespace

std::string HeaderLine(const std::string& host, const IpAddress& address, int dataSize) {
    const int ipHeader = address.Family() == IpFamily::V6 ? kIpv6Header : kIpv4Header;
    return Printf("PING %s (%s) %d(%d) bytes of data.", host.c_str(), address.Text().c_str(),
                  dataSize, dataSize + kIcmpHeader + ipHeader);
}

std::string FormatMs(std::int64_t us) {
    if (us < 0) us = 0;
    if (us >= 100000) return Printf("%lld", static_cast<long long>(us / 1000));
    if (us >= 10000)
        return Printf("%lld.%01lld", static_cast<long long>(us / 1000),
                      static_cast<long long>(us % 1000 / 100));
    if (us >= 1000)
        return Printf("%lld.%02lld", static_cast<long long>(us / 1000),
                      static_cast<long long>(us % 1000 / 10));
    return Printf("0.%03lld", static_cast<long long>(us));
}

std::string DescribeFailure(const EchoResult& result) {
    if (IsIcmpError(result.outcome) && result.source.Family() == IpFamily::V6)
        return DescribeIcmpv6Error(result);
    switch (result.outcome) {
        case EchoOutcome::Unreachable: return Unreachable(result);
        case EchoOutcome::SourceQuench: return "Source Quench";
        case EchoOutcome::Redirect: return Redirect(result);
        case EchoOutcome::TimeExceeded:
            return result.icmpCode == 1 ? "Frag reassembly time exceeded" : "Time to live exceeded";
        case EchoOutcome::ParameterProblem:
            return Printf("Parameter problem: pointer = %u", result.icmpInfo);
        case EchoOutcome::LocalError: return ErrorText(result.error);
        case EchoOutcome::TimedOut: return "Request timeout";
        case EchoOutcome::Reply:
        case EchoOutcome::PacketTooBig:  // ICMPv6's alone, told above
        case EchoOutcome::OtherMessage:
        case EchoOutcome::ForeignReply:
        case EchoOutcome::TooShort: break;
    }
    return Printf("Bad ICMP type: %u", unsigned{result.icmpType});
}

std::string RecordLine(const PingRecord& record) {
    const EchoResult& result = record.result;
    const unsigned sequence = result.sequence;
    switch (result.outcome) {
        case EchoOutcome::Reply: {
            std::string line = Printf("%d bytes from %s: icmp_seq=%u", result.messageBytes,
                                      result.source.Text().c_str(), sequence);
            if (result.ttl >= 0) line += Printf(" ttl=%d", result.ttl);
            return line + " time=" + FormatMs(result.roundTripUs) + " ms";
        }
        case EchoOutcome::TimedOut: return Printf("Request timeout for icmp_seq=%u", sequence);
        case EchoOutcome::LocalError:
            return Printf("Local error for icmp_seq=%u: ", sequence) + DescribeFailure(result);
        default: break;
    }
    return Printf("From %s icmp_seq=%u ", result.source.Text().c_str(), sequence) +
           DescribeFailure(result);
}

}  // namespace vigilon::ravelin
