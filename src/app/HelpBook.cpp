#include "HelpBook.h"

#include "ProgramFolders.h"

namespace vigilon::app {

// VIGILON_DATA_DIR is the installed data folder, given by the build.
std::vector<std::filesystem::path> HelpBookFolders() { return {ExecutableFolder(), VIGILON_DATA_DIR}; }

std::filesystem::path FindHelpBook(const std::vector<std::filesystem::path>& folders) {
    return FindFileIn(kHelpBookName, folders);
}

}  // namespace vigilon::app
