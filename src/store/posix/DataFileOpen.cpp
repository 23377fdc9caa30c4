#include "DataFileOpen.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <vector>

#include "DataFileOutcome.h"
#include "ErrorText.h"

namespace vigilon {

namespace {

// The kernel's own limit on the links followed in one lookup.
constexpr int kMaxLinkHops = 40;
// Links are followed here, one at a time, and no open waits for a peer.
constexpr int kAlwaysFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool MayFollowLinkOwnedBy(uid_t linkOwner, uid_t user) {
    return linkOwner == user || linkOwner == 0;
}

bool MayUseLinkedFileOwnedBy(uid_t fileOwner, uid_t user) { return fileOwner == user; }

std::string UserName(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->pw_name;
    return "user " + std::to_string(uid);
}

// How the problem's sentence names what was found: the file itself, or the
// place its links led to.
std::string Subject(const std::string& where, bool linked) {
    return linked ? "it leads to " + where + ", " : "it is ";
}

DataFile NotAFile(mode_t type, const std::string& where, bool linked) {
    DataFile file =
        EndedDataFile(DataFile::State::NotAFile, where,
                      Subject(where, linked) + FileKindName(type) + ", not a regular file");
    file.type = type & S_IFMT;
    return file;
}

DataFile RefusedLink(uid_t owner, const std::string& where, bool linked) {
    return EndedDataFile(DataFile::State::Refused, where,
                         Subject(where, linked) + "a symbolic link owned by " + UserName(owner) +
                             "; Vigilon follows only links of its own user or root");
}

DataFile RefusedTarget(uid_t owner, const std::string& where) {
    return EndedDataFile(DataFile::State::Refused, where,
                         "it leads to " + where + ", a file owned by " + UserName(owner) +
                             "; Vigilon follows links only to its own user's files");
}

// The file just opened at where, checked on its descriptor (info).
DataFile Checked(UniqueFd fd, const struct stat& info, const std::string& where, bool linked,
                 uid_t user) {
    // Swapped in after the look: opened, but never used.
    if (!S_ISREG(info.st_mode)) return NotAFile(info.st_mode, where, linked);
    if (linked && !MayUseLinkedFileOwnedBy(info.st_uid, user))
        return RefusedTarget(info.st_uid, where);
    DataFile file = EndedDataFile(DataFile::State::Open, where, {});
    file.fd = std::move(fd);
    return file;
}

// The target of the link open as link: read from the link that was
// checked, not looked up again by name.
bool ReadTarget(int link, std::string& target) {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlinkat(link, "", buffer.data(), buffer.size());
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) == buffer.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    target.assign(buffer.data(), static_cast<std::size_t>(length));
    return true;
}

}  // namespace

DataFile OpenDataFile(const std::string& path, int flags, mode_t mode) {
    const uid_t user = ::geteuid();
    std::string current = path;
    bool linked = false;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        // Looked at first, so that a FIFO or a device is never opened.
        if (::lstat(current.c_str(), &info) == 0 && !S_ISLNK(info.st_mode) &&
            !S_ISREG(info.st_mode))
            return NotAFile(info.st_mode, current, linked);
        UniqueFd fd(::open(current.c_str(), flags | kAlwaysFlags, mode));
        // ELOOP: the last part is a link (or the folders above it loop). An
        // O_PATH open by the caller gets the link itself instead.
        const bool wanted = static_cast<bool>(fd);
        if (!wanted && errno != ELOOP) return FailedDataFile(errno, current);
        if (!wanted) fd = UniqueFd(::open(current.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!fd || ::fstat(fd.Get(), &info) != 0) return FailedDataFile(errno, current);
        if (!S_ISLNK(info.st_mode)) {
            if (wanted) return Checked(std::move(fd), info, current, linked, user);
            continue;  // the link was replaced by a file since: look again
        }
        if (!MayFollowLinkOwnedBy(info.st_uid, user))
            return RefusedLink(info.st_uid, current, linked);
        std::string target;
        if (!ReadTarget(fd.Get(), target)) return FailedDataFile(errno, current);
        const std::filesystem::path next(target);
        current = next.is_absolute()
                      ? target
                      : (std::filesystem::path(current).parent_path() / next).string();
        linked = true;
    }
    return FailedDataFile(ELOOP, current);
}

DataFile FindDataFile(const std::string& path) { return OpenDataFile(path, O_PATH); }

DataFile OpenThroughLinks(const std::string& path) {
    DataFile file;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return FailedDataFile(errno, path);
    if (!S_ISREG(info.st_mode)) return NotAFile(info.st_mode, path, false);
    // O_NONBLOCK: a FIFO swapped in after the stat does not hold the read.
    file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.fd || ::fstat(file.fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        return EndedDataFile(DataFile::State::Failed, path, ErrorText(error), error);
    }
    file.state = DataFile::State::Open;
    file.where = path;
    return file;
}

std::string FileKindName(mode_t type) {
    if (S_ISDIR(type)) return "a folder";
    if (S_ISFIFO(type)) return "a FIFO";
    if (S_ISCHR(type) || S_ISBLK(type)) return "a device";
    if (S_ISSOCK(type)) return "a socket";
    return "a special file";
}

}  // namespace vigilon
