#include "PingSession.h"

#include <algorithm>
#include <cmath>

#include "MonotonicClock.h"
#include "ReplyLines.h"

namespace vigilon::ravelin {

namespace {

std::string Trimmed(const std::string& text) {
    constexpr const char* kBlank = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

}  // namespace

PingSession::PingSession(std::string spoolFolder) : spoolFolder(std::move(spoolFolder)) {}

std::optional<PingSettings> PingSession::Begin(const std::string& hostText, double intervalSeconds,
                                               int payload) {
    const std::string name = Trimmed(hostText);
    if (name.empty()) return std::nullopt;

    host = name;
    address.clear();
    dataSize = std::clamp(payload, 0, kLargestPayload);
    lines.clear();
    records.clear();
    recordsDropped = linesDropped = 0;
    statistics.Clear();
    graph.Clear();
    // The last run's file goes before the next is made.
    spool.reset();
    spool = std::make_unique<RunSpool>(spoolFolder);
    ++runNumber;
    startUs = MonotonicUs();

    PingSettings settings;
    settings.host = host;
    settings.intervalSeconds =
        std::isnan(intervalSeconds)
            ? kShortestInterval
            : std::clamp(intervalSeconds, kShortestInterval, kLongestInterval);
    settings.dataSize = dataSize;
    return settings;
}

std::optional<std::string> PingSession::Started(int run, const IpAddress& resolved) {
    if (!Accepts(run)) return std::nullopt;
    address = resolved.Text();
    std::string line = HeaderLine(host, resolved, dataSize);
    spool->AddLine(line);
    Keep(line);
    return line;
}

std::optional<std::string> PingSession::Recorded(int run, const PingRecord& record) {
    if (!Accepts(run)) return std::nullopt;
    statistics.Add(record);
    graph.Add(record);
    spool->AddRecord(record);  // its line is made again from it when saved
    records.push_back(record);
    if (records.size() > kMostKept) {
        records.pop_front();
        ++recordsDropped;
    }
    std::string line = RecordLine(record);
    Keep(line);
    return line;
}

std::optional<std::string> PingSession::Failed(int run, const std::string& message) {
    if (!Accepts(run)) return std::nullopt;
    spool->AddLine(message);
    Keep(message);
    return message;
}

bool PingSession::Accepts(int run) const { return run == runNumber && spool != nullptr; }

void PingSession::Keep(const std::string& line) {
    lines.push_back(line);
    if (lines.size() > kMostKept) {
        lines.pop_front();
        ++linesDropped;
    }
}

void PingSession::Tick() {
    if (runNumber > 0) graph.SetNow(static_cast<double>(MonotonicUs() - startUs) / 1e6);
}

std::string PingSession::LinesText() const {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

PingSession::SaveReport PingSession::Save(const std::string& path, ExportFormat format) {
    SaveReport report;
    if (spool && spool->Ok()) {
        RunFileWriter writer(path, format);
        if (!writer.Opened() ||
            spool->ReadBack([&](std::string_view line) { writer.Line(line); },
                            [&](const PingRecord& record) { writer.Record(record); })) {
            report.saved = writer.Finish(host, statistics, report.message);
            return report;
        }
    }
    // The spool could not be written or read: memory has the latest part.
    RunFileWriter writer(path, format);
    if (format == ExportFormat::Csv)
        for (const PingRecord& record : records)
            writer.Record(record);
    else
        for (const std::string& line : lines)
            writer.Line(line);
    report.saved = writer.Finish(host, statistics, report.message);
    if (report.saved && (recordsDropped > 0 || linesDropped > 0))
        report.message = "Ravelin could not keep the whole run on disk (" + spool->Error() +
                         "), so this file holds only the last " + std::to_string(records.size()) +
                         " of the run's " + std::to_string(statistics.Sent()) + " requests.";
    return report;
}

}  // namespace vigilon::ravelin
