#pragma once

#include <filesystem>
#include <string>

namespace vigilon::app {

// The environment variables that the user's own folder comes from; null
// for one that is not set or not used on this platform.
struct UserFolderVariables {
    const char* stateHome = nullptr;     // XDG_STATE_HOME
    const char* home = nullptr;          // HOME
    const char* localAppData = nullptr;  // LOCALAPPDATA, on Windows, in UTF-8
};
// One file for each platform, like the two below.
UserFolderVariables ReadUserFolderVariables();

// The folder --user-data means: by the XDG rules below on POSIX,
// %LOCALAPPDATA%\Vigilon on Windows. Empty when the variables name none.
std::filesystem::path UserDataFolder(const UserFolderVariables& variables);
// What --user-data says when they name none.
std::string NoUserFolderText();

// The user's own folder for the settings and the log, by the XDG base
// directory rules: $XDG_STATE_HOME/vigilon when that is an absolute path,
// else $HOME/.local/state/vigilon. Empty when neither tells (no usable HOME).
// Null stands for a variable that is not set.
std::filesystem::path UserDataFolder(const char* stateHome, const char* home);

// Makes one folder that only this user may open (0700 on POSIX; on
// Windows a folder under the user's profile inherits its private access).
// 0, EEXIST when something of that name is there, else the errno.
int MakePrivateFolder(const std::filesystem::path& folder);

// Makes folder the current directory, creating it and any missing parents
// with mode 0700 first (an existing folder keeps its mode). Empty on
// success, else what went wrong, naming the folder; a failure removes the
// folders this call made, and only those.
std::string EnterDataFolder(const std::filesystem::path& folder);

}  // namespace vigilon::app
