#include "TemporaryFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <memory>

#include "FilePaths.h"

namespace vigilon {

namespace {

bool IsLeftOver(pid_t owner) {
    if (owner == ::getpid()) return true;
    return ::kill(owner, 0) != 0 && errno == ESRCH;
}

}  // namespace

UniqueFd CreateTemporaryFor(const std::string& path, int mode) {
    const std::string temporary = TemporaryPathFor(path);
    return UniqueFd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           static_cast<mode_t>(mode)));
}

void RemoveLeftoverTemporaries(const std::string& path) {
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(DirectoryOf(path).c_str()), ::closedir);
    if (!folder) return;
    const std::string prefix = TemporaryPrefixFor(FileNameOf(path));
    while (const dirent* entry = ::readdir(folder.get())) {
        pid_t owner = TemporaryOwner(entry->d_name, prefix);
        // Unlinking removes the name only, so a planted link costs nothing.
        if (owner > 0 && IsLeftOver(owner)) ::unlinkat(::dirfd(folder.get()), entry->d_name, 0);
    }
}

}  // namespace vigilon
