#include "SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FilePaths.h"
#include "ReplaceFile.h"
#include "SettingsCodec.h"
#include "UniqueFd.h"

namespace vigilon {

namespace {

enum class FileRead {
    Unreadable,  // absent, or cannot be opened or read: nothing to load
    NotAFile,    // a folder, FIFO, device...: nothing a save ever wrote
    Read,
};

// At most kMaxSettingsBytes of a regular file. The type is checked before
// opening, so that a FIFO or device is never opened, and the opening does
// not block should one be swapped in after the check. The buffer grows with
// what is read, from the size the file had: a settings file is some dozens
// of bytes, and a buffer of the whole limit would be a megabyte of memory
// touched at every start.
FileRead ReadSettingsBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return FileRead::Unreadable;
    if (!S_ISREG(info.st_mode)) return FileRead::NotAFile;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return FileRead::Unreadable;
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileRead::NotAFile;
    // One byte past the size sees a file that grew since; the limit holds all the same.
    const std::size_t expected = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(std::min(expected + 1, kMaxSettingsBytes));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled == kMaxSettingsBytes) break;
            bytes.resize(std::min(bytes.size() * 2, kMaxSettingsBytes));
        }
        ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return FileRead::Unreadable;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return FileRead::Read;
}

}  // namespace

LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt) {
    std::vector<std::uint8_t> bytes;
    // A file that exists but may not be read is a first run too; its save
    // is then refused as well, so it is never overwritten unseen.
    const FileRead read = ReadSettingsBytes(path, bytes);
    if (read == FileRead::Unreadable) return LoadResult::NotFound;
    if (read == FileRead::Read && DecodeSettings(bytes, settings).Complete()) return LoadResult::Loaded;
    prompt.ShowMessage(kEndOfFileMessage, MessageIcon::Exclamation);
    return LoadResult::Damaged;
}

bool SaveSettings(const std::string& path, const MonitorSettings& settings, UserPrompt& prompt,
                  LogWriter& writeLog) {
    const std::vector<std::uint8_t> bytes = EncodeSettings(settings);
    // The line is written before the file reaches the disk, so a failure
    // message always follows the line that announced the save.
    if (settings.logEnabled == 1) writeLog.Write("SAVED SETTINGS");
    // A record the load would cut short is refused rather than written.
    int error = bytes.size() > kMaxSettingsBytes ? EFBIG : ReplaceFile(path, bytes);
    if (error == 0) return true;
    prompt.ShowMessage("Unable to save the settings to " + AbsolutePath(path) + ": " +
                           std::strerror(error) + ".",
                       MessageIcon::Exclamation);
    return false;
}

}  // namespace vigilon
