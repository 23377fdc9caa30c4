// The window program's entry point, reached from vigilon by exec. The
// command line, the data folder and its lock are settled before the toolkit
// starts: GTK needs a display as soon as it starts, and --help, --version
// or a mistake must not.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CMonitorApp.h"
#include "DisplayAvailable.h"
#include "DisplayCheck.h"
#include "InstanceLock.h"
#include "ProgramStart.h"

wxIMPLEMENT_APP_NO_MAIN(vigilon::app::CMonitorApp);

int main(int argc, char** argv) {
    using vigilon::app::StartPlan;
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Held until the process ends, after the window is gone.
    vigilon::InstanceLock lock;
    const StartPlan plan = vigilon::app::PrepareStart(args, vigilon::app::ReadUserFolderVariables(),
                                                      lock, std::cout, std::cerr);
    if (plan.next == StartPlan::Next::End) return plan.exitCode;
    if (plan.line.mode != vigilon::app::CommandLine::Mode::Window) {
        std::cerr << "vigilon-window: only the window runs here; vigilon answers the other modes\n";
        return vigilon::app::kUsageExitCode;
    }
    if (!vigilon::app::DisplayAvailable()) {
        std::cerr << vigilon::app::NoDisplayMessage("vigilon", std::getenv("DISPLAY"),
                                                    std::getenv("WAYLAND_DISPLAY"));
        return vigilon::app::kNoDisplayExitCode;
    }

    return vigilon::app::RunMonitorApp(plan, argv[0]);
}
