#include "RenameIntoPlace.h"

#include <io.h>
#include <windows.h>
#include <cerrno>

#include "TemporaryFiles.h"
#include "WindowsText.h"
#include "WriteAll.h"

namespace vigilon {

namespace {

int LastErrno() { return ErrnoOfWindowsError(::GetLastError()); }

// ReplaceFileW keeps the old file's attributes and security on the new one,
// as the POSIX save keeps owner and mode; a file not there yet is moved
// into place, the move written through before it returns.
bool MoveIntoPlace(const std::wstring& temporary, const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ::ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr)) {
        return true;
    }
    return ::MoveFileExW(temporary.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

int SyncFile(int fd) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) return EBADF;
    return ::FlushFileBuffers(handle) ? 0 : LastErrno();
}

// NTFS journals its folders, and MOVEFILE_WRITE_THROUGH returns only when
// the move is on the disk: there is no folder to sync.
void SyncFolderOf(const std::string&) {}

int CommitTemporary(UniqueFd temporary, const std::string& path,
                    std::span<const std::uint8_t> bytes) {
    const std::wstring name = WideText(TemporaryPathFor(path));
    int error = WriteAll(temporary.Get(), bytes);
    if (error == 0) error = SyncFile(temporary.Get());
    if (temporary.Close() != 0 && error == 0) error = errno;
    if (error == 0 && !MoveIntoPlace(name, WideText(path))) error = LastErrno();
    if (error != 0) ::DeleteFileW(name.c_str());
    return error;
}

int RemoveDataFile(const std::string& path) {
    RemoveLeftoverTemporaries(path);
    if (::DeleteFileW(WideText(path).c_str())) return 0;
    const int error = LastErrno();
    return error == ENOENT ? 0 : error;
}

}  // namespace vigilon
