#include "SettingsFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "FilePaths.h"
#include "ReplaceFile.h"
#include "SettingsCodec.h"

namespace vigilon {

namespace {

// The whole file, or false when it cannot be opened or read: either way
// there is nothing to load and the run counts as a first one.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::uint8_t buffer[4096];
    bool ok = true;
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false;
        if (got <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    return ok;
}

}  // namespace

LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return LoadResult::NotFound;
    if (DecodeSettings(bytes, settings).Complete()) return LoadResult::Loaded;
    prompt.ShowMessage(kEndOfFileMessage, MessageIcon::Exclamation);
    return LoadResult::Damaged;
}

bool SaveSettings(const std::string& path, const MonitorSettings& settings, UserPrompt& prompt,
                  LogWriter& writeLog) {
    const std::vector<std::uint8_t> bytes = EncodeSettings(settings);
    // The line is written before the file reaches the disk, so a failure
    // message always follows the line that announced the save.
    if (settings.logEnabled == 1) writeLog.Write("SAVED SETTINGS");
    int error = ReplaceFile(path, bytes);
    if (error == 0) return true;
    prompt.ShowMessage("Unable to save the settings to " + AbsolutePath(path) + ": " +
                           std::strerror(error) + ".",
                       MessageIcon::Exclamation);
    return false;
}

}  // namespace vigilon
