#include "InstanceLock.h"

#include <fcntl.h>
#include <cerrno>

#include "DataFileOpen.h"
#include "ErrorText.h"
#include "FileLock.h"

namespace vigilon {

LockResult InstanceLock::Acquire(const std::string& path) {
    fd_.Close();
    error_.clear();
    DataFile file = OpenDataFile(path, O_RDWR | O_CREAT, 0600);
    if (file.state != DataFile::State::Open) {
        error_ = path + ": " + file.problem;
        return LockResult::Failed;
    }
    if (const int error = LockWholeFile(file.fd.Get()); error != 0) {
        if (error == EWOULDBLOCK) return LockResult::Busy;
        error_ = path + ": " + ErrorText(error);
        return LockResult::Failed;
    }
    fd_ = std::move(file.fd);
    return LockResult::Held;
}

}  // namespace vigilon
