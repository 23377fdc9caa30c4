#include "DataFolder.h"

#include <cerrno>
#include <vector>

#include "ErrorText.h"
#include "FilePaths.h"

namespace vigilon::app {

namespace fs = std::filesystem;

fs::path UserDataFolder(const char* stateHome, const char* home) {
    // Relative values are invalid by the XDG rules and are ignored.
    if (stateHome != nullptr && fs::path(stateHome).is_absolute())
        return fs::path(stateHome) / "vigilon";
    if (home != nullptr && fs::path(home).is_absolute())
        return fs::path(home) / ".local/state/vigilon";
    return {};
}

namespace {

// Removes the folders a failed start made, innermost first; only empty
// ones go, so nothing another process put there meanwhile is lost.
void RemoveMade(const std::vector<fs::path>& made) {
    std::error_code ignored;
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        fs::remove(*folder, ignored);
}

}  // namespace

std::string EnterDataFolder(const fs::path& folder) {
    if (folder.empty()) return "no data folder given";
    // One level at a time, so that every folder made is private, parents too.
    std::vector<fs::path> made;
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (const int error = MakePrivateFolder(partial); error == 0) {
            made.push_back(partial);
        } else if (error != EEXIST) {
            std::string problem =
                "cannot create the data folder " + PathText(partial) + ": " + ErrorText(error);
            RemoveMade(made);
            return problem;
        }
    }
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        std::string problem =
            "cannot use the data folder " + PathText(folder) + ": " + ErrorText(error.value());
        RemoveMade(made);
        return problem;
    }
    return {};
}

}  // namespace vigilon::app
