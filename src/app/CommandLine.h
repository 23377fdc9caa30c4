#pragma once

#include <string>
#include <vector>

namespace vigilon::app {

// What the command line asks for. The program reads it before the toolkit
// starts, so that --help, --version, a mistake and every mode without a
// window are answered without a display.
struct CommandLine {
    enum class Action {
        Run,          // start the monitor, in the mode below
        ShowHelp,     // print the usage and end
        ShowVersion,  // print the version and end
        Refuse,       // a mistake: print error and end with status 2
    };
    enum class Mode {
        Window,        // the window and its tray icon
        Headless,      // monitoring with no display at all
        SetSettings,   // change fields of the settings file and end
        ShowSettings,  // print the settings file's fields and end
    };
    Action action = Action::Run;
    Mode mode = Mode::Window;
    // Where the settings and the log live; empty for the current directory.
    std::string dataDir;
    // The user's own folder instead (XDG_STATE_HOME), expanded by the program.
    bool userData = false;
    // --set's NAME=VALUE words, in the order given.
    std::vector<std::string> assignments;
    // The metrics endpoint's HOST:PORT (checked), and the textfile's path.
    std::string metricsListen;
    std::string metricsFile;
    std::string error;

    bool Monitors() const { return mode == Mode::Window || mode == Mode::Headless; }
};

// Reads the arguments after the program's name. --help and --version
// answer at once, whatever follows; the first mistake ends the reading.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help, ending in a newline (--version's: ProgramVersion.h).
std::string UsageText();

// The parts of the usage text that differ between platforms (one file for
// each): where --user-data is, and what runs without a window.
struct PlatformHelp {
    std::string headlessUsage;  // " [--headless]", or nothing
    std::string userData;
    std::string headless;
    std::string metricsListen;
};
PlatformHelp ThisPlatformHelp();

}  // namespace vigilon::app
