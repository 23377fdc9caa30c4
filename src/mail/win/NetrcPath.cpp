#include "NetrcPath.h"

#include <windows.h>

#include "WindowsText.h"

namespace vigilon {

std::string NetrcPath() {
    wchar_t profile[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return NarrowText(std::wstring(profile, length)) + "\\_netrc";
}

}  // namespace vigilon
