#include <windows.h>

#include <string>

#include "ProgramFolders.h"

namespace vigilon::app {

namespace fs = std::filesystem;

fs::path ExecutableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    // A longer path than the buffer is cut and reported as the buffer's size.
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer).parent_path();
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

// Windows runs any regular file named .exe that the user can read.
bool IsRunnableFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

}  // namespace vigilon::app
