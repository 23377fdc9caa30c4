#include <cstdlib>

#include "DataFolder.h"
#include "WindowsText.h"

namespace vigilon::app {

UserFolderVariables ReadUserFolderVariables() {
    // Read once, in UTF-16 (the narrow environment is in the ANSI code
    // page), and kept for the process like the C library's own.
    static const std::string localAppData = [] {
        const wchar_t* value = ::_wgetenv(L"LOCALAPPDATA");
        return value != nullptr ? NarrowText(value) : std::string();
    }();
    UserFolderVariables variables;
    if (!localAppData.empty()) variables.localAppData = localAppData.c_str();
    return variables;
}

std::filesystem::path UserDataFolder(const UserFolderVariables& variables) {
    if (variables.localAppData == nullptr) return {};
    const std::string text = variables.localAppData;
    const std::filesystem::path folder(std::u8string(text.begin(), text.end()));
    return folder.is_absolute() ? folder / "Vigilon" : std::filesystem::path();
}

std::string NoUserFolderText() { return "LOCALAPPDATA names no folder"; }

}  // namespace vigilon::app
