#include "FileLock.h"

#include <sys/file.h>
#include <cerrno>

namespace vigilon {

int LockWholeFile(int fd) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

}  // namespace vigilon
