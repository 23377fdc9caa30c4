#include "RenameIntoPlace.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "FilePaths.h"
#include "TemporaryFiles.h"
#include "WriteAll.h"

namespace vigilon {

int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

void SyncFolderOf(const std::string& path) {
    UniqueFd fd(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.Get());
}

int CommitTemporary(UniqueFd temporary, const std::string& path,
                    std::span<const std::uint8_t> bytes) {
    const std::string name = TemporaryPathFor(path);
    int error = WriteAll(temporary.Get(), bytes);
    if (error == 0) error = SyncFile(temporary.Get());
    if (temporary.Close() != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(name.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return error;
    }
    SyncFolderOf(path);
    return 0;
}

int RemoveDataFile(const std::string& path) {
    RemoveLeftoverTemporaries(path);
    if (::unlink(path.c_str()) != 0) return errno == ENOENT ? 0 : errno;
    SyncFolderOf(path);
    return 0;
}

}  // namespace vigilon
