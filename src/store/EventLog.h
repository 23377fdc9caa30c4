#pragma once

#include <mutex>
#include <string>

#include "DataFileOpen.h"
#include "LogViewer.h"
#include "LogWriter.h"
#include "ProblemReport.h"
#include "ProgramLauncher.h"
#include "WallClock.h"

namespace vigilon {

inline constexpr const char* kLogOpenFailedMessage = "Unable to open log file.";
inline constexpr const char* kLogClearFailedMessage = "Unable to clear log file";
inline constexpr const char* kLogClearQuestion = "Are you sure you want to clear the log file?";

// The append-only event log. Nothing stays open between calls: every line
// opens, locks, appends and closes the file, so the user may view, empty or
// delete it at any time. A failed write is reported without waiting for
// anyone and never ends the caller's operation. Only a regular file is
// written, reached through a link only as OpenDataFile allows
// (DataFileOpen.h); a FIFO, folder or device in its place is reported, and
// never waited for. Writers on several threads (the monitor, a self-test)
// take turns.
class EventLog : public LogWriter {
public:
    // ownViewer, when given, shows the log where the desktop has no handler
    // for text files; it outlives the log.
    EventLog(std::string path, ProblemReport& problems, ProgramLauncher& launcher, WallClock& clock,
             LogViewer* ownViewer = nullptr)
        : path_(std::move(path)),
          problems_(problems),
          launcher_(launcher),
          clock_(clock),
          ownViewer_(ownViewer) {}

    // Appends one time-stamped line; no switch of its own.
    void Write(const std::string& message) override;
    // Empties the file; the text telling why it could not, else empty.
    // Whoever asks decides whether to ask the user first.
    std::string Clear();
    // Shows the log in the desktop's text handler, without waiting; where
    // there is none (no opener, or it fails), in the program's own viewer.
    void OpenInEditor();

private:
    // The file opened for writing and exclusively locked, or why not.
    DataFile OpenLocked(int extraFlags);
    void ReportUnopened(const DataFile& file);
    void ReportDiskFull();

    std::string path_;
    ProblemReport& problems_;
    ProgramLauncher& launcher_;
    WallClock& clock_;
    LogViewer* ownViewer_;
    std::mutex writing_;
};

}  // namespace vigilon
