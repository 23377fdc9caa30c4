#include "SettingsFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ErrorText.h"
#include "FilePaths.h"
#include "RegularFileRead.h"
#include "ReplaceFile.h"
#include "SettingsCodec.h"

namespace vigilon {

LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt) {
    std::vector<std::uint8_t> bytes;
    int error = 0;
    // A file that exists but may not be read is a first run too; its save
    // is then refused as well, so it is never overwritten unseen.
    const FileRead read = ReadRegularFile(path, kMaxSettingsBytes, bytes, error);
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
                           ErrorText(error) + ".",
                       MessageIcon::Exclamation);
    return false;
}

}  // namespace vigilon
