#pragma once

#include <string>

#include "LogWriter.h"
#include "MonitorSettings.h"
#include "UserPrompt.h"

namespace vigilon {

inline constexpr const char* kSettingsFileName = "Vigilon.dat";
inline constexpr const char* kEndOfFileMessage =
    "An attempt was made to access an unnamed file past its end.";

enum class LoadResult {
    NotFound,  // the file could not be opened or read: a first run, no message
    Loaded,    // all eleven fields read
    Damaged,   // reading stopped early, not a regular file, or a link that is not followed
               // (DataFileOpen.h); the message has been shown
};

// Reads the record from path. Fields are replaced as they are read, so a
// damaged file leaves the ones before the damage loaded and the rest as they
// were; the user is told through prompt. Values are taken as stored.
LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt);

// Writes the record to path, logging "SAVED SETTINGS" through writeLog (the
// gated log) when logging is on. The old file is replaced only by a complete
// new one, unless it can only be written in place (see ReplaceFile); a save
// is refused wherever an in-place write would be. Returns false, after
// telling the user which file failed, when it could not be written; the
// caller then skips its remaining steps.
bool SaveSettings(const std::string& path, const MonitorSettings& settings, UserPrompt& prompt,
                  LogWriter& writeLog);

}  // namespace vigilon
