#include "TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>

#include "FilePaths.h"

namespace vigilon {

namespace {

constexpr const char* kTemporaryMark = ".tmp.";

// The process id a temporary name carries after prefix, or 0 when the
// name is not one of ours.
pid_t OwnerOf(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 9) return 0;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    pid_t pid = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

bool IsLeftOver(pid_t owner) {
    if (owner == ::getpid()) return true;
    return ::kill(owner, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) {
    return path + kTemporaryMark + std::to_string(::getpid());
}

UniqueFd CreateTemporaryFor(const std::string& path, int mode) {
    const std::string temporary = TemporaryPathFor(path);
    return UniqueFd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           static_cast<mode_t>(mode)));
}

void RemoveLeftoverTemporaries(const std::string& path) {
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(DirectoryOf(path).c_str()), ::closedir);
    if (!folder) return;
    const std::string prefix = FileNameOf(path) + kTemporaryMark;
    while (const dirent* entry = ::readdir(folder.get())) {
        pid_t owner = OwnerOf(entry->d_name, prefix);
        // Unlinking removes the name only, so a planted link costs nothing.
        if (owner > 0 && IsLeftOver(owner)) ::unlinkat(::dirfd(folder.get()), entry->d_name, 0);
    }
}

}  // namespace vigilon
