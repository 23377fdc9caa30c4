#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "ProgramLauncher.h"

namespace vigilon::app {

// The companion tool that the Simple Ping command starts (its file name).
std::string SimplePingProgram();

// Where the companion tool is: next to the executable first (a build or an
// installation keeps the two together), else in a folder of the PATH-style
// search list. Empty when neither holds a runnable program of that name.
std::filesystem::path FindSimplePing(const std::filesystem::path& executableFolder,
                                     std::string_view searchPath);

// Starts the companion tool without waiting for it. A missing tool is
// silent: nothing is launched and nothing is reported.
void LaunchSimplePing(ProgramLauncher& launcher);

}  // namespace vigilon::app
