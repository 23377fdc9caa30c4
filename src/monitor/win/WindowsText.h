#pragma once

#include <string>

namespace vigilon {

// The program keeps its texts, paths included, in UTF-8; Windows' wide
// functions take UTF-16.
std::wstring WideText(const std::string& utf8);
std::string NarrowText(const std::wstring& utf16);

// The errno nearest to a Windows error code (GetLastError), so that the
// platform-free code reports Windows' failures as it reports the C
// library's: ENOENT, EACCES, ENOSPC...; EIO for the rest.
int ErrnoOfWindowsError(unsigned long code);

}  // namespace vigilon
