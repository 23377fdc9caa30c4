#include "HelpBook.h"

#include "ProgramFolders.h"

namespace vigilon::app {

std::vector<std::filesystem::path> HelpBookFolders() { return HelpBookFolders(ExecutableFolder()); }

// The build gives the data folder as a path relative to the program folder
// (VIGILON_DATA_FROM_BIN, "../share/vigilon"), so that a package built with
// another prefix than the configured one (cpack's /usr) finds its book, and
// as the configured prefix's full path (VIGILON_DATA_DIR). The window
// program that shows it lives in libexec (VIGILON_DATA_FROM_WINDOW).
std::vector<std::filesystem::path> HelpBookFolders(const std::filesystem::path& executableFolder) {
    std::vector<std::filesystem::path> folders{executableFolder};
    if (!executableFolder.empty()) {
        folders.emplace_back((executableFolder / VIGILON_DATA_FROM_WINDOW).lexically_normal());
        folders.emplace_back((executableFolder / VIGILON_DATA_FROM_BIN).lexically_normal());
    }
    folders.emplace_back(VIGILON_DATA_DIR);
    return folders;
}

std::filesystem::path FindHelpBook(const std::vector<std::filesystem::path>& folders) {
    return FindFileIn(kHelpBookName, folders);
}

}  // namespace vigilon::app
