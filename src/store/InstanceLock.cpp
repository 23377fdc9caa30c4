#include "InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

#include "DataFileOpen.h"
#include "ErrorText.h"

namespace vigilon {

LockResult InstanceLock::Acquire(const std::string& path) {
    fd_.Close();
    error_.clear();
    DataFile file = OpenDataFile(path, O_RDWR | O_CREAT, 0600);
    if (file.state != DataFile::State::Open) {
        error_ = path + ": " + file.problem;
        return LockResult::Failed;
    }
    int result;
    do {
        result = ::flock(file.fd.Get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (errno == EWOULDBLOCK) return LockResult::Busy;
        error_ = path + ": " + ErrorText(errno);
        return LockResult::Failed;
    }
    fd_ = std::move(file.fd);
    return LockResult::Held;
}

}  // namespace vigilon
