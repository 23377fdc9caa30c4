#include "SettingsFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "DataFileRead.h"
#include "FilePaths.h"
#include "ReplaceFile.h"
#include "SettingsCodec.h"

namespace vigilon {

LoadResult LoadSettings(const std::string& path, MonitorSettings& settings, UserPrompt& prompt) {
    std::vector<std::uint8_t> bytes;
    const DataFile read = ReadDataFile(path, kMaxSettingsBytes, bytes);
    switch (read.state) {
        // A file that exists but may not be read is a first run too; its save
        // is then refused as well, so it is never overwritten unseen.
        case DataFile::State::Missing:
        case DataFile::State::Failed: return LoadResult::NotFound;
        case DataFile::State::NotAFile:
            prompt.ShowMessage(AbsolutePath(path) + " is " + FileKindName(read.type) + ", not a settings file.",
                               MessageIcon::Exclamation);
            return LoadResult::Damaged;
        case DataFile::State::Refused:
            prompt.ShowMessage("Unable to read the settings from " + AbsolutePath(path) + ": " + read.problem + ".",
                               MessageIcon::Exclamation);
            return LoadResult::Damaged;
        case DataFile::State::Open: break;
    }
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
    // A record the load would cut short is refused rather than written.
    const std::string problem = bytes.size() > kMaxSettingsBytes ? std::strerror(EFBIG) : ReplaceFile(path, bytes);
    if (problem.empty()) return true;
    prompt.ShowMessage("Unable to save the settings to " + AbsolutePath(path) + ": " + problem + ".",
                       MessageIcon::Exclamation);
    return false;
}

}  // namespace vigilon
