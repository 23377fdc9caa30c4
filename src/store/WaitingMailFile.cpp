#include "WaitingMailFile.h"

#include "DataFileRead.h"
#include "ErrorText.h"
#include "FilePaths.h"
#include "RenameIntoPlace.h"
#include "TemporaryFiles.h"
#include "WaitingMailCodec.h"

namespace vigilon {

std::vector<AlertEvent> WaitingMailFile::Load(std::string& error) {
    error.clear();
    std::vector<std::uint8_t> bytes;
    const DataFile read = ReadDataFile(path_, kMaxWaitingMailBytes, bytes);
    if (read.state == DataFile::State::Missing) return {};
    if (read.state != DataFile::State::Open) {
        error = "Unable to read the waiting mails from " + AbsolutePath(path_) + ": " +
                read.problem + ".";
        return {};
    }
    WaitingMailDecode decode = DecodeWaitingMails(bytes);
    if (!decode.damage.empty())
        error = "The waiting mails in " + AbsolutePath(path_) + " are damaged (" + decode.damage +
                "); " + std::to_string(decode.mails.size()) + " could be read.";
    return std::move(decode.mails);
}

std::string WaitingMailFile::Save(const std::vector<AlertEvent>& mails) {
    // Only found, not opened: the save replaces the file by a rename, or
    // removes it, at the end of the links the rule lets it follow.
    const DataFile file = FindDataFile(path_);
    std::string problem = file.problem;
    if (file.state == DataFile::State::Open || file.state == DataFile::State::Missing) {
        const int error = mails.empty() ? RemoveDataFile(file.where)
                                        : CreateByRename(file.where, EncodeWaitingMails(mails));
        if (error == 0) return {};
        problem = ErrorText(error);
    }
    return "Unable to save the waiting mails to " + AbsolutePath(path_) + ": " + problem + ".";
}

}  // namespace vigilon
