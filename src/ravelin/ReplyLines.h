#pragma once

#include <cstdint>
#include <string>

#include "IpAddress.h"
#include "PingRecord.h"

namespace vigilon::ravelin {

// The lines of a run as people know them from a terminal's ping.

// "PING host (address) 56(84) bytes of data.": the data, then the whole
// datagram with the ICMP header and the IP header of the address's family
// (IPv6: "56(104)").
std::string HeaderLine(const std::string& host, const IpAddress& address, int dataSize);

// One line per record: "64 bytes from 192.0.2.2: icmp_seq=3 ttl=64 time=0.143 ms",
// "Request timeout for icmp_seq=5", "From 192.0.2.1 icmp_seq=4 Destination
// Host Unreachable", "From 2001:db8::1 icmp_seq=4 Destination unreachable:
// No route", "Local error for icmp_seq=6: Network is unreachable".
std::string RecordLine(const PingRecord& record);

// What an ICMP error (ICMPv6's by its own codes) or a local error says,
// without sender and sequence.
std::string DescribeFailure(const EchoResult& result);

// A round trip in milliseconds with three significant digits below 100 ms
// ("0.143", "1.52", "12.5", "143"), cut, not rounded.
std::string FormatMs(std::int64_t microseconds);

}  // namespace vigilon::ravelin
