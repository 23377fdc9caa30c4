#include "ReplaceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FilePaths.h"
#include "TemporaryFiles.h"

namespace vigilon {

namespace {

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// Keeps the permissions the user gave the old file; a new file gets the
// default mode under the umask, as a plain create would.
void CopyMode(const std::string& path, int fd) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
}

int WriteSynced(const std::string& path, const std::string& temporary,
                std::span<const std::uint8_t> bytes) {
    UniqueFd created = CreateTemporaryFor(path, 0666);
    if (!created) return errno;
    int fd = created.Get();
    CopyMode(path, fd);
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (created.Close() != 0 && error == 0) error = errno;
    return error;
}

// Makes the rename itself durable. A failure here is not reported: the new
// content is already in place and complete either way.
void SyncDirectory(const std::string& path) {
    int fd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

int ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    RemoveLeftoverTemporaries(path);
    const std::string temporary = TemporaryPathFor(path);
    int error = WriteSynced(path, temporary, bytes);
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncDirectory(path);
    return 0;
}

}  // namespace vigilon
