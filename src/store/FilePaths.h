#pragma once

#include <filesystem>
#include <string>

namespace vigilon {

// A path as the program keeps its texts: UTF-8 (Windows' own paths are
// UTF-16, which path::string() would turn into the ANSI code page).
std::string PathText(const std::filesystem::path& path);

// The absolute form of path against the current directory, for messages
// that name a file. Returns path unchanged when it cannot be resolved.
std::string AbsolutePath(const std::string& path);

// The directory part of path ("." for a bare file name), for syncing the
// directory entry after a rename.
std::string DirectoryOf(const std::string& path);

// The last part of path: the name of the entry inside DirectoryOf(path).
std::string FileNameOf(const std::string& path);

}  // namespace vigilon
