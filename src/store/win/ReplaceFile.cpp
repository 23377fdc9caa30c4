#include "ReplaceFile.h"

#include <fcntl.h>

#include "DataFileOpen.h"
#include "ErrorText.h"
#include "RenameIntoPlace.h"

namespace vigilon {

// The file is opened for writing first, so that what would refuse an
// in-place write (a read-only file, the folder's rights, another program
// holding it without sharing) refuses the save with the same error. The
// new content then goes to a temporary beside it, which is flushed and
// put in its place by ReplaceFileW (MoveFileExW when none was there).
std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    DataFile existing = OpenDataFile(path, O_WRONLY);
    switch (existing.state) {
        case DataFile::State::Open:
        case DataFile::State::Missing: break;
        case DataFile::State::Failed:
        case DataFile::State::NotAFile:
        case DataFile::State::Refused: return existing.problem;
    }
    existing.fd.Close();
    const int error = CreateByRename(path, bytes);
    return error == 0 ? std::string() : ErrorText(error);
}

}  // namespace vigilon
