#pragma once

#include <string>
#include <vector>

namespace vigilon::ravelin {

// What Ravelin's command line asks for, read before the toolkit starts, so
// that --help, --version and a mistake are answered without a display.
struct RavelinCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    std::string host;   // Run: pinged at once when given
    std::string error;  // Refuse: why, for standard error
};

// Reads the arguments after the program's name: `[HOST]`, -h/--help,
// -V/--version. --help and --version answer whatever follows.
RavelinCommandLine ParseRavelinCommandLine(const std::vector<std::string>& args);

// The texts of --help and --version, each ending in a newline.
std::string RavelinUsageText();
std::string RavelinVersionText();

}  // namespace vigilon::ravelin
