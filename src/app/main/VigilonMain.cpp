// The entry point of vigilon. It loads no toolkit: the command line, the
// settings commands and the headless monitor are answered here, without a
// display, and a run with a window becomes the window program by exec.
#include <iostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "HeadlessProgram.h"
#include "InstanceLock.h"
#include "ProgramStart.h"
#include "SettingsCommands.h"
#include "WindowProgram.h"

int main(int argc, char** argv) {
    using namespace vigilon::app;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine line = ParseCommandLine(args);
    if (line.action == CommandLine::Action::Run && line.mode == CommandLine::Mode::Window) {
        // The window program reads the same command line again and settles
        // the folder and its lock itself.
        const std::string failure = BecomeWindowProgram(argv);
        std::cerr << "vigilon: " << failure << "\n";
        return 1;
    }

    // Held until the process ends.
    vigilon::InstanceLock lock;
    const StartPlan plan =
        PrepareStart(args, ReadUserFolderVariables(), lock, std::cout, std::cerr);
    switch (plan.next) {
        case StartPlan::Next::End:
        case StartPlan::Next::TellRunning: return plan.exitCode;  // told on standard error
        case StartPlan::Next::RunSettings:
            return plan.line.mode == CommandLine::Mode::SetSettings
                       ? RunSetSettings(plan.line.assignments, std::cout, std::cerr)
                       : RunShowSettings(std::cout, std::cerr);
        case StartPlan::Next::RunMonitor: return RunHeadless(plan.line, std::cerr);
    }
    return 1;
}
