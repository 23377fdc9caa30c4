#include "SettingsFile.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include "DataFileRead.h"
#include "ErrorText.h"
#include "FilePaths.h"
#include "ReplaceFile.h"
#include "SettingsCodec.h"

namespace vigilon {

LoadResult LoadSettings(const std::string& path, MonitorSettings& settings,
                        ProblemReport& problems) {
    std::vector<std::uint8_t> bytes;
    DataFile read = ReadDataFile(path, kMaxSettingsBytes, bytes);
    if (read.state == DataFile::State::Refused) {
        problems.Report("The settings were read from " + AbsolutePath(path) +
                            ", but will not be saved there: " + read.problem + ".",
                        MessageIcon::Exclamation);
        read = ReadDataFileThroughLinks(path, kMaxSettingsBytes, bytes);
    }
    switch (read.state) {
        // A file that exists but may not be read is a first run too; its save
        // is then refused as well, so it is never overwritten unseen.
        case DataFile::State::Missing:
        case DataFile::State::Failed: return LoadResult::NotFound;
        case DataFile::State::NotAFile:
            problems.Report(
                AbsolutePath(path) + " is " + FileKindName(read.type) + ", not a settings file.",
                MessageIcon::Exclamation);
            return LoadResult::Damaged;
        case DataFile::State::Refused:  // not from ReadDataFileThroughLinks
            return LoadResult::Damaged;
        case DataFile::State::Open: break;
    }
    if (DecodeSettings(bytes, settings).Complete()) return LoadResult::Loaded;
    problems.Report(kEndOfFileMessage, MessageIcon::Exclamation);
    return LoadResult::Damaged;
}

bool SaveSettings(const std::string& path, const MonitorSettings& settings, ProblemReport& problems,
                  LogWriter& writeLog) {
    const std::vector<std::uint8_t> bytes = EncodeSettings(settings);
    // The line is written before the file reaches the disk, so a failure
    // message always follows the line that announced the save.
    if (settings.logEnabled == 1) writeLog.Write("SAVED SETTINGS");
    // A record the load would cut short is refused rather than written.
    const std::string problem =
        bytes.size() > kMaxSettingsBytes ? ErrorText(EFBIG) : ReplaceFile(path, bytes);
    if (problem.empty()) return true;
    problems.Report("Unable to save the settings to " + AbsolutePath(path) + ": " + problem + ".",
                    MessageIcon::Exclamation);
    return false;
}

}  // namespace vigilon
