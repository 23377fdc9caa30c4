#include "RunExport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "ErrorText.h"
#include "LocalTime.h"
#include "ReplyLines.h"

namespace vigilon::ravelin {

namespace {

// Quoted when it holds a separator, a quote or a line break (RFC 4180).
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string OutcomeWord(const EchoResult& result) {
    switch (result.outcome) {
        case EchoOutcome::Reply: return "reply";
        case EchoOutcome::TimedOut: return "timeout";
        case EchoOutcome::LocalError: return "local error: " + DescribeFailure(result);
        default: break;
    }
    return DescribeFailure(result) + " from " + result.source.Text();
}

}  // namespace

std::string IsoLocalTime(std::chrono::system_clock::time_point at) {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(at.time_since_epoch());
    const time_t seconds = static_cast<time_t>(floor<std::chrono::seconds>(sinceEpoch).count());
    const long millis =
        static_cast<long>((sinceEpoch - floor<std::chrono::seconds>(sinceEpoch)).count());
    LocalTime local;
    ToLocalTime(seconds, local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local.fields);
    const long offsetMinutes = std::labs(local.utcOffsetSeconds) / 60;
    // Room for the widest values the types allow, so nothing is ever cut.
    char text[sizeof date + 64];
    std::snprintf(text, sizeof text, "%s.%03ld%c%02ld:%02ld", date, millis,
                  local.utcOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

std::string CsvRow(const PingRecord& record) {
    const EchoResult& result = record.result;
    std::string rtt;
    if (result.outcome == EchoOutcome::Reply) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", static_cast<double>(result.roundTripUs) / 1000.0);
        rtt = text;
    }
    return IsoLocalTime(record.sentAt) + "," + std::to_string(result.sequence) + "," + rtt + "," +
           CsvField(OutcomeWord(result)) + "\r\n";
}

RunFileWriter::RunFileWriter(const std::string& path, ExportFormat format)
    : path(path), format(format), file(path, std::ios::binary | std::ios::trunc) {
    if (!file) openError = errno != 0 ? errno : EIO;
    if (format == ExportFormat::Csv) file << "time,seq,rtt_ms,outcome\r\n";
}

void RunFileWriter::Line(std::string_view line) {
    if (format == ExportFormat::Text) file << line << '\n';
}

void RunFileWriter::Record(const PingRecord& record) {
    if (format == ExportFormat::Csv)
        file << CsvRow(record);
    else
        file << RecordLine(record) << '\n';
}

bool RunFileWriter::Finish(const std::string& host, const PingStatistics& statistics,
                           std::string& error) {
    if (format == ExportFormat::Text) {
        file << "\n--- " << host << " ping statistics ---\n";
        for (const std::string& line : SummaryLines(statistics))
            file << line << '\n';
    }
    if (file) file.close();
    if (file) return true;
    error = "Cannot write " + path + ": " + ErrorText(openError != 0 ? openError : errno);
    return false;
}

}  // namespace vigilon::ravelin
