#pragma once

#include <filesystem>
#include <string>

namespace vigilon::app {

// The window program's file: beside this program (the build folder), else
// in libexec beside the installed program, else in the configured prefix's.
// Empty when none is there.
std::filesystem::path WindowProgramPath();

// Becomes the window program with the same arguments, by exec: the process,
// its id and its standard streams stay the same. Returns only when that
// failed, with the reason.
std::string BecomeWindowProgram(char** argv);

}  // namespace vigilon::app
