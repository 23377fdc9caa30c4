#include "DataFileOpen.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <cerrno>

#include "DataFileOutcome.h"
#include "ErrorText.h"
#include "WindowsText.h"

namespace vigilon {

// Windows has no rule to keep here: a user's %LOCALAPPDATA% is the user's
// own, and making a symbolic link takes a privilege. What stays is that
// only a file on a disk is opened, and never a folder, a console or a pipe.
// Files are shared for reading, writing and deleting, so that the user
// may view, empty or remove the log while the program runs; the C
// runtime's descriptors are binary, so no byte is changed on the way.

namespace {

DataFile NotAFile(mode_t type, const std::string& where) {
    DataFile file = EndedDataFile(DataFile::State::NotAFile, where,
                                  "it is " + FileKindName(type) + ", not a regular file");
    file.type = type;
    return file;
}

DWORD AccessFor(int flags) {
    switch (flags & (O_RDONLY | O_WRONLY | O_RDWR)) {
        case O_WRONLY: return GENERIC_WRITE;
        case O_RDWR: return GENERIC_READ | GENERIC_WRITE;
        default: return GENERIC_READ;
    }
}

DWORD DispositionFor(int flags) {
    if ((flags & O_CREAT) == 0) return OPEN_EXISTING;
    return (flags & O_EXCL) != 0 ? CREATE_NEW : OPEN_ALWAYS;
}

}  // namespace

DataFile OpenDataFile(const std::string& path, int flags, mode_t) {
    const std::wstring wide = WideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return NotAFile(S_IFDIR, path);
    HANDLE handle = ::CreateFileW(wide.c_str(), AccessFor(flags),
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  DispositionFor(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailedDataFile(ErrnoOfWindowsError(::GetLastError()), path);
    // A device name (NUL, COM1, CONIN$) opens as something else than a file.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return NotAFile(S_IFCHR, path);
    }
    int crtFlags = _O_BINARY;
    if ((flags & O_APPEND) != 0) crtFlags |= _O_APPEND;
    if ((flags & (O_WRONLY | O_RDWR)) == 0) crtFlags |= _O_RDONLY;
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), crtFlags);
    if (fd < 0) {
        ::CloseHandle(handle);
        return FailedDataFile(EMFILE, path);
    }
    DataFile file = EndedDataFile(DataFile::State::Open, path, {});
    file.fd = UniqueFd(fd);
    return file;
}

DataFile FindDataFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WideText(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FailedDataFile(ErrnoOfWindowsError(::GetLastError()), path);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return NotAFile(S_IFDIR, path);
    return EndedDataFile(DataFile::State::Open, path, {});
}

DataFile OpenThroughLinks(const std::string& path) { return OpenDataFile(path, O_RDONLY); }

std::string FileKindName(mode_t type) {
    if ((type & S_IFMT) == S_IFDIR) return "a folder";
    if ((type & S_IFMT) == S_IFCHR) return "a device";
    return "a special file";
}

}  // namespace vigilon
