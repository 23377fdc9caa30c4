#include "RenameIntoPlace.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "FilePaths.h"
#include "TemporaryFiles.h"
#include "WriteAll.h"

namespace vigilon {

void SyncFolderOf(const std::string& path) {
    UniqueFd fd(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.Get());
}

int CommitTemporary(UniqueFd temporary, const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string name = TemporaryPathFor(path);
    int error = WriteAll(temporary.Get(), bytes);
    if (error == 0 && ::fsync(temporary.Get()) != 0) error = errno;
    if (temporary.Close() != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(name.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return error;
    }
    SyncFolderOf(path);
    return 0;
}

int CreateByRename(const std::string& path, std::span<const std::uint8_t> bytes) {
    RemoveLeftoverTemporaries(path);
    // Files written this way may hold mail servers and addresses: the owner's alone.
    UniqueFd temporary = CreateTemporaryFor(path, 0600);
    if (!temporary) return errno;
    return CommitTemporary(std::move(temporary), path, bytes);
}

}  // namespace vigilon
