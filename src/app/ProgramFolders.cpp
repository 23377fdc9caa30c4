#include "ProgramFolders.h"

#include "PlatformNames.h"

namespace vigilon::app {

namespace fs = std::filesystem;

fs::path FindFileIn(std::string_view name, const std::vector<fs::path>& folders) {
    for (const fs::path& folder : folders) {
        if (folder.empty()) continue;
        fs::path candidate = folder / name;
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return candidate;
    }
    return {};
}

std::vector<fs::path> SearchFolders(std::string_view pathList) {
    std::vector<fs::path> folders;
    while (true) {
        const std::size_t colon = pathList.find(kPathListSeparator);
        const fs::path folder(pathList.substr(0, colon));
        if (folder.is_absolute()) folders.push_back(folder);
        if (colon == std::string_view::npos) break;
        pathList.remove_prefix(colon + 1);
    }
    return folders;
}

}  // namespace vigilon::app
