#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace vigilon::app {

// The program's help book: its pages zipped with the project, contents and
// index files that the HTML help viewer reads.
inline constexpr std::string_view kHelpBookName = "vigilon.htb";

// Where the book is looked for, in order: next to the executable (a build
// folder), the data folder of the installation that holds the executable
// (wherever it was installed to), then the data folder of the configured
// prefix.
std::vector<std::filesystem::path> HelpBookFolders();
std::vector<std::filesystem::path> HelpBookFolders(const std::filesystem::path& executableFolder);

// The book in the first of the folders that has it; empty when none does.
std::filesystem::path FindHelpBook(const std::vector<std::filesystem::path>& folders);

}  // namespace vigilon::app
