#pragma once

#include <chrono>
#include <fstream>
#include <string>
#include <string_view>

#include "PingRecord.h"
#include "PingStatistics.h"

namespace vigilon::ravelin {

enum class ExportFormat { Text, Csv };

// A run written to a file as its lines and records come, so that no run has
// to be held whole in memory.
//
// Text: the lines as shown (a record's line is made from the record), then
// the statistics under a blank line and a title.
// CSV: "time,seq,rtt_ms,outcome", then one row per record: the local send
// time in ISO 8601 with milliseconds and the zone's offset, the sequence,
// the round trip in milliseconds (empty without an answer) and "reply",
// "timeout" or what the error said. Lines that are no record are left out.
class RunFileWriter {
public:
    // Opens path, emptied.
    RunFileWriter(const std::string& path, ExportFormat format);
    bool Opened() const { return openError == 0; }

    void Line(std::string_view line);
    void Record(const PingRecord& record);
    // Writes what closes the document and the file: false, with the reason
    // in error, when the file could not be written.
    bool Finish(const std::string& host, const PingStatistics& statistics, std::string& error);

private:
    std::string path;
    ExportFormat format;
    std::ofstream file;
    int openError = 0;
};

std::string CsvRow(const PingRecord& record);
// "2024-05-01T14:03:07.250+02:00"
std::string IsoLocalTime(std::chrono::system_clock::time_point at);

}  // namespace vigilon::ravelin
