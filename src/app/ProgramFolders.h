#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace vigilon::app {

// The folder that holds the running program; empty when the system does
// not tell. One file for each platform.
std::filesystem::path ExecutableFolder();

// Whether file is a regular file this user may run. One file for each
// platform.
bool IsRunnableFile(const std::filesystem::path& file);

// The first folder that holds a regular file of that name, as a full path;
// empty when none does. Empty folders in the list are skipped.
std::filesystem::path FindFileIn(std::string_view name,
                                 const std::vector<std::filesystem::path>& folders);

// The folders of a PATH-style list, in order. Empty and relative entries are
// left out: a program is never picked up from whatever the current directory
// happens to be.
std::vector<std::filesystem::path> SearchFolders(std::string_view pathList);

}  // namespace vigilon::app
