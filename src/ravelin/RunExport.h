#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "PingRecord.h"
#include "PingStatistics.h"

namespace vigilon::ravelin {

// A run saved as CSV: "time,seq,rtt_ms,outcome", then one row per record:
// the local send time in ISO 8601 with milliseconds and the zone's offset,
// the sequence, the round trip in milliseconds (empty without an answer) and
// "reply", "timeout" or what the error said.
std::string CsvDocument(const std::vector<PingRecord>& records);
std::string CsvRow(const PingRecord& record);
// "2024-05-01T14:03:07.250+02:00"
std::string IsoLocalTime(std::chrono::system_clock::time_point at);

// The lines as shown, then the statistics under a blank line and a title.
std::string TextDocument(const std::string& host, const std::vector<std::string>& lines,
                         const PingStatistics& statistics);

// Writes content to path; on failure false, with the reason in error.
bool SaveDocument(const std::string& path, const std::string& content, std::string& error);

}  // namespace vigilon::ravelin
