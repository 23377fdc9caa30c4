#include "ReplaceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FilePaths.h"
#include "RenameIntoPlace.h"
#include "TemporaryFiles.h"
#include "UniqueFd.h"

namespace vigilon {

namespace {

constexpr int kOpenForWriting = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
// A file this save creates may hold a mail server's password: its owner's alone.
constexpr mode_t kNewFileMode = 0600;

// Opens the existing file as an in-place write would, or leaves fd invalid
// when there is none yet. The type is checked before opening, so no FIFO or
// device is ever opened. A link to a missing file creates that file, as
// the in-place write did, with the kernel's checks on the way.
int OpenExisting(const std::string& path, UniqueFd& fd) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return EISDIR;
        if (!S_ISREG(info.st_mode)) return ENOTSUP;
        fd = UniqueFd(::open(path.c_str(), kOpenForWriting));
    } else {
        if (errno != ENOENT) return errno;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        fd = UniqueFd(::open(path.c_str(), kOpenForWriting | O_CREAT, kNewFileMode));
    }
    if (!fd) return errno;
    if (::fstat(fd.Get(), &info) != 0) return errno;
    return S_ISREG(info.st_mode) ? 0 : ENOTSUP;  // swapped after the look
}

// Overwrites from the start, then cuts to length: until the cut, a shorter
// record is followed only by old bytes that a load never reads.
int WriteInPlace(UniqueFd fd, std::span<const std::uint8_t> bytes) {
    int error = WriteAll(fd.Get(), bytes);
    if (error == 0 && ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0) error = errno;
    if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
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

int ReplaceExisting(UniqueFd existing, const std::string& path, std::span<const std::uint8_t> bytes) {
    struct stat old {};
    if (::fstat(existing.Get(), &old) != 0) return errno;
    // Only a rename beside the very file that was opened keeps the save
    // where an in-place write would have gone; other hard links would
    // be left with the old record.
    const std::string target = FollowLinks(path);
    struct stat named {};
    if (old.st_nlink != 1 || target.empty() || ::lstat(target.c_str(), &named) != 0 ||
        named.st_dev != old.st_dev || named.st_ino != old.st_ino) {
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

int ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    UniqueFd existing;
    int error = OpenExisting(path, existing);
    if (error != 0) return error;
    if (!existing) return CreateByRename(path, bytes);
    return ReplaceExisting(std::move(existing), path, bytes);
}

}  // namespace vigilon
