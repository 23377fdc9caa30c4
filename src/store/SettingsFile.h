#pragma once

#include <string>

#include "LogWriter.h"
#include "MonitorSettings.h"
#include "ProblemReport.h"
#include "UserPrompt.h"

namespace vigilon {

inline constexpr const char* kSettingsFileName = "Vigilon.dat";
inline constexpr const char* kEndOfFileMessage =
    "An attempt was made to access an unnamed file past its end.";

enum class LoadResult {
    NotFound,  // the file could not be opened or read: a first run, no message
    Loaded,    // all eleven fields read
    Damaged,   // reading stopped early, or not a regular file; the message has been shown
};

// Reads the record from path. Fields are replaced as they are read, so a
// damaged file leaves the ones before the damage loaded and the rest as they
// were; the user is told through prompt. Values are taken as stored.
//
// A link that the rule of DataFileOpen.h turns away is still read, with the
// kernel's own checks, since reading harms nothing a planted plain file
// could not: monitoring goes on with what it holds, and only its saves are
// refused. The user is told through notices (without waiting for an
// answer) when given, else through prompt.
LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt,
                        ProblemReport* notices = nullptr);

// Writes the record to path, logging "SAVED SETTINGS" through writeLog (the
// gated log) when logging is on. The old file is replaced only by a complete
// new one, unless it can only be written in place (see ReplaceFile); a save
// is refused wherever an in-place write would be. Returns false, after
// telling the user which file failed, when it could not be written; the
// caller then skips its remaining steps.
bool SaveSettings(const std::string& path, const MonitorSettings& settings, UserPrompt& prompt,
                  LogWriter& writeLog);

}  // namespace vigilon
