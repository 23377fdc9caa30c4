#include "TemporaryFiles.h"

#include <fcntl.h>
#include <windows.h>
#include <cerrno>
#include <filesystem>

#include "DataFileOpen.h"
#include "FilePaths.h"
#include "WindowsText.h"

namespace vigilon {

namespace {

// A process id is reused on Windows as elsewhere; a running process that
// took the id of a killed save keeps its left-over one run longer, no more.
bool IsLeftOver(DWORD owner) {
    if (owner == ::GetCurrentProcessId()) return true;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner);
    if (process == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

}  // namespace

UniqueFd CreateTemporaryFor(const std::string& path, int mode) {
    // O_EXCL: CREATE_NEW, so a name already there is never opened.
    DataFile file = OpenDataFile(TemporaryPathFor(path), O_WRONLY | O_CREAT | O_EXCL,
                                 static_cast<mode_t>(mode));
    if (file.state != DataFile::State::Open) errno = file.error != 0 ? file.error : EEXIST;
    return std::move(file.fd);
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const std::string prefix = TemporaryPrefixFor(FileNameOf(path));
    std::error_code error;
    for (std::filesystem::directory_iterator entry(WideText(DirectoryOf(path)), error), end;
         !error && entry != end; entry.increment(error)) {
        const int owner = TemporaryOwner(NarrowText(entry->path().filename().wstring()), prefix);
        if (owner > 0 && IsLeftOver(static_cast<DWORD>(owner)))
            ::DeleteFileW(entry->path().c_str());
    }
}

}  // namespace vigilon
