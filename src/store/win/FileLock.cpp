#include "FileLock.h"

#include <io.h>
#include <windows.h>
#include <cerrno>

#include "WindowsText.h"

namespace vigilon {

// LockFileEx's locks belong to the opening (the handle), as flock's do, and
// go when it is closed or the process ends.
int LockWholeFile(int fd) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) return EBADF;
    OVERLAPPED from{};
    if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                     MAXDWORD, &from))
        return 0;
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK
                                                                      : ErrnoOfWindowsError(error);
}

}  // namespace vigilon
