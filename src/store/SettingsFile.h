#pragma once

#include <string>

#include "LogWriter.h"
#include "MonitorSettings.h"
#include "ProblemReport.h"

namespace vigilon {

inline constexpr const char* kSettingsFileName = "Vigilon.dat";
inline constexpr const char* kEndOfFileMessage =
    "An attempt was made to access an unnamed file past its end.";

enum class LoadResult {
    NotFound,  // the file could not be opened or read: a first run, no message
    Loaded,    // all eleven fields read
    Damaged,   // reading stopped early, or not a regular file; the problem has been reported
};

// Reads the record from path. Fields are replaced as they are read, so a
// damaged file leaves the ones before the damage loaded and the rest as they
// were; what went wrong is reported through problems, for the shell to
// show without waiting for anyone. Values are taken as stored.
//
// A link that the rule of DataFileOpen.h turns away is still read, with the
// kernel's own checks, since reading harms nothing a planted plain file
// could not: monitoring goes on with what it holds, and only its saves are
// refused; that is reported too.
LoadResult LoadSettings(const std::string& path, MonitorSettings& settings,
                        ProblemReport& problems);

// Writes the record to path, logging "SAVED SETTINGS" through writeLog (the
// gated log) when logging is on. The old file is replaced only by a complete
// new one, unless it can only be written in place (see ReplaceFile); a save
// is refused wherever an in-place write would be. Returns false, after
// reporting through problems which file failed, when it could not be
// written; the caller then skips its remaining steps.
bool SaveSettings(const std::string& path, const MonitorSettings& settings, ProblemReport& problems,
                  LogWriter& writeLog);

}  // namespace vigilon
