#pragma once

#include <filesystem>
#include <string>

namespace vigilon::app {

// The user's own folder for the settings and the log, by the XDG base
// directory rules: $XDG_STATE_HOME/vigilon when that is an absolute path,
// else $HOME/.local/state/vigilon. Empty when neither tells (no usable HOME).
// Null stands for a variable that is not set.
std::filesystem::path UserDataFolder(const char* stateHome, const char* home);

// Makes folder the current directory, creating it and any missing parents
// with mode 0700 first (an existing folder keeps its mode). Empty on
// success, else what went wrong, naming the folder; a failure removes the
// folders this call made, and only those.
std::string EnterDataFolder(const std::filesystem::path& folder);

}  // namespace vigilon::app
