#include "DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "ErrorText.h"

namespace vigilon::app {

namespace fs = std::filesystem;

fs::path UserDataFolder(const char* stateHome, const char* home) {
    // Relative values are invalid by the XDG rules and are ignored.
    if (stateHome != nullptr && fs::path(stateHome).is_absolute()) return fs::path(stateHome) / "vigilon";
    if (home != nullptr && fs::path(home).is_absolute()) return fs::path(home) / ".local/state/vigilon";
    return {};
}

std::string EnterDataFolder(const fs::path& folder) {
    if (folder.empty()) return "no data folder given";
    // One level at a time, so that every folder made is private, parents too.
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return "cannot create the data folder " + partial.string() + ": " + ErrorText(errno);
    }
    if (::chdir(folder.c_str()) != 0)
        return "cannot use the data folder " + folder.string() + ": " + ErrorText(errno);
    return {};
}

}  // namespace vigilon::app
