#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "RunSpool.h"
#include "SpoolFile.h"
#include "SystemRandom.h"
#include "WindowsText.h"

namespace vigilon::ravelin {

// Windows' files keep their names while open, so the spool has one: unshared,
// and deleted by Windows when its last handle closes, also when the process
// is killed. The user's temporary folder is the user's own.
int OpenSpoolFile(const std::string& folder) {
    std::uint64_t unique = 0;
    if (!SystemRandomBytes(&unique, sizeof unique)) unique = ::GetTickCount64();
    char name[32];
    std::snprintf(name, sizeof name, "\\ravelin-spool-%016llx",
                  static_cast<unsigned long long>(unique));
    HANDLE handle =
        ::CreateFileW(WideText(folder + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOfWindowsError(::GetLastError());
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

// The spool's reads and writes come from one thread at a time, so a seek
// before the read stands in for pread.
std::int64_t ReadSpoolAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
    if (::_lseeki64(fd, offset, SEEK_SET) < 0) return -1;
    const std::int64_t got = ::_read(fd, buffer, static_cast<unsigned>(size));
    // Writes go on at the end.
    ::_lseeki64(fd, 0, SEEK_END);
    return got;
}

// The user's temporary folder (TMP, TEMP, else the profile's), as Windows
// gives it, without its last backslash.
std::string SpoolFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return ".";
    std::wstring folder(path, length);
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return NarrowText(folder);
}

}  // namespace vigilon::ravelin
