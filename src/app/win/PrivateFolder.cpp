#include <windows.h>

#include <cerrno>

#include "DataFolder.h"
#include "WindowsText.h"

namespace vigilon::app {

int MakePrivateFolder(const std::filesystem::path& folder) {
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return 0;
    const DWORD error = ::GetLastError();
    // A drive's root answers "access denied" rather than "exists".
    std::error_code ignored;
    if (error == ERROR_ALREADY_EXISTS || std::filesystem::is_directory(folder, ignored))
        return EEXIST;
    return ErrnoOfWindowsError(error);
}

}  // namespace vigilon::app
