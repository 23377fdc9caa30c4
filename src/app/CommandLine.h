#pragma once

#include <string>
#include <vector>

namespace vigilon::app {

// What the command line asks for. The program reads it before the toolkit
// starts, so that --help, --version and a mistake are answered without a
// display.
struct CommandLine {
    enum class Action {
        Run,          // start the monitor
        ShowHelp,     // print the usage and end
        ShowVersion,  // print the version and end
        Refuse,       // a mistake: print error and end with status 2
    };
    Action action = Action::Run;
    // Where the settings and the log live; empty for the current directory.
    std::string dataDir;
    // The user's own folder instead (XDG_STATE_HOME), expanded by the program.
    bool userData = false;
    std::string error;
};

// Reads the arguments after the program's name. --help and --version
// answer at once, whatever follows; the first mistake ends the reading.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help, ending in a newline (--version's: ProgramVersion.h).
std::string UsageText();

}  // namespace vigilon::app
