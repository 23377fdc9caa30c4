#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "DataFileOpen.h"
#include "ErrorText.h"
#include "RenameIntoPlace.h"
#include "TemporaryFiles.h"
#include "UniqueFd.h"
#include "WriteAll.h"

namespace vigilon {

namespace {

std::string Problem(int error) { return error == 0 ? std::string() : ErrorText(error); }

// Overwrites from the start, then cuts to length: until the cut, a shorter
// record is followed only by old bytes that a load never reads.
int WriteInPlace(UniqueFd fd, std::span<const std::uint8_t> bytes) {
    int error = WriteAll(fd.Get(), bytes);
    if (error == 0 && ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0) error = errno;
    if (error == 0) error = SyncFile(fd.Get());
    if (fd.Close() != 0 && error == 0) error = errno;
    return error;
}

// Gives the new file the old one's owner, group and mode. False when this
// user may not, which only root or the owner can settle.
bool TakeOverIdentity(int fd, const struct stat& old) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// target is where existing was opened: path, or the end of its links.
int ReplaceExisting(UniqueFd existing, const std::string& target,
                    std::span<const std::uint8_t> bytes) {
    struct stat old {};
    if (::fstat(existing.Get(), &old) != 0) return errno;
    // Only a rename beside the very file that was opened keeps the save
    // where an in-place write would have gone; other hard links would
    // be left with the old record.
    struct stat named {};
    if (old.st_nlink != 1 || ::lstat(target.c_str(), &named) != 0 || named.st_dev != old.st_dev ||
        named.st_ino != old.st_ino) {
        return WriteInPlace(std::move(existing), bytes);
    }
    RemoveLeftoverTemporaries(target);
    // Private until it has the old file's owner and mode.
    UniqueFd temporary = CreateTemporaryFor(target, 0600);
    if (!temporary) {
        if (errno == EACCES || errno == EPERM) return WriteInPlace(std::move(existing), bytes);
        return errno;
    }
    if (!TakeOverIdentity(temporary.Get(), old)) {
        temporary.Close();
        ::unlink(TemporaryPathFor(target).c_str());
        return WriteInPlace(std::move(existing), bytes);
    }
    existing.Close();
    return CommitTemporary(std::move(temporary), target, bytes);
}

}  // namespace

std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    DataFile existing = OpenDataFile(path, O_WRONLY);
    switch (existing.state) {
        case DataFile::State::Open:
            return Problem(ReplaceExisting(std::move(existing.fd), existing.where, bytes));
        // None yet: made whole by a rename, at the end of path's links if it has any.
        case DataFile::State::Missing: return Problem(CreateByRename(existing.where, bytes));
        case DataFile::State::Failed:
        case DataFile::State::NotAFile:
        case DataFile::State::Refused: break;
    }
    return existing.problem;
}

}  // namespace vigilon
