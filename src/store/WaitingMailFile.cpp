#include "WaitingMailFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "ErrorText.h"
#include "FilePaths.h"
#include "RegularFileRead.h"
#include "RenameIntoPlace.h"
#include "TemporaryFiles.h"
#include "WaitingMailCodec.h"

namespace vigilon {

namespace {

int RemoveFile(const std::string& path) {
    RemoveLeftoverTemporaries(path);
    if (::unlink(path.c_str()) != 0) return errno == ENOENT ? 0 : errno;
    SyncFolderOf(path);
    return 0;
}

}  // namespace

std::vector<AlertEvent> WaitingMailFile::Load(std::string& error) {
    error.clear();
    std::vector<std::uint8_t> bytes;
    int readError = 0;
    switch (ReadRegularFile(path_, kMaxWaitingMailBytes, bytes, readError)) {
        case FileRead::Unreadable:
            if (readError != ENOENT)
                error = "Unable to read the waiting mails from " + AbsolutePath(path_) + ": " +
                        ErrorText(readError) + ".";
            return {};
        case FileRead::NotAFile:
            error = "Unable to read the waiting mails from " + AbsolutePath(path_) +
                    ": not a regular file.";
            return {};
        case FileRead::Read: break;
    }
    WaitingMailDecode decode = DecodeWaitingMails(bytes);
    if (!decode.damage.empty())
        error = "The waiting mails in " + AbsolutePath(path_) + " are damaged (" + decode.damage +
                "); " + std::to_string(decode.mails.size()) + " could be read.";
    return std::move(decode.mails);
}

std::string WaitingMailFile::Save(const std::vector<AlertEvent>& mails) {
    const int error = mails.empty() ? RemoveFile(path_) : CreateByRename(path_, EncodeWaitingMails(mails));
    if (error == 0) return {};
    return "Unable to save the waiting mails to " + AbsolutePath(path_) + ": " + ErrorText(error) + ".";
}

}  // namespace vigilon
