#include "InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

#include "ErrorText.h"

namespace vigilon {

LockResult InstanceLock::Acquire(const std::string& path) {
    fd_.Close();
    error_.clear();
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        error_ = path + ": " + ErrorText(errno);
        return LockResult::Failed;
    }
    int result;
    do {
        result = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (errno == EWOULDBLOCK) return LockResult::Busy;
        error_ = path + ": " + ErrorText(errno);
        return LockResult::Failed;
    }
    fd_ = std::move(fd);
    return LockResult::Held;
}

}  // namespace vigilon
