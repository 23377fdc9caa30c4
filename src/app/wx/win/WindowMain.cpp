// The program's entry point on Windows, where vigilon.exe is the window
// program itself. The command line, the data folder and its lock are
// settled before the toolkit starts; the settings commands answer on the
// console they were typed in, and need no window.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <wx/init.h>
#include <wx/msw/wrapwin.h>

#include <shellapi.h>

#include "CMonitorApp.h"
#include "InstanceLock.h"
#include "ProgramStart.h"
#include "SettingsCommands.h"
#include "WindowsText.h"

wxIMPLEMENT_APP_NO_MAIN(vigilon::app::CMonitorApp);

namespace {

// The arguments in UTF-8: the narrow argv is in the ANSI code page.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return args;
    for (int i = 1; i < count; ++i)
        args.push_back(vigilon::NarrowText(wide[i]));
    ::LocalFree(wide);
    return args;
}

// A window program has no console of its own: what it says for --help,
// --version or a mistake goes to the console it was started from, unless
// its output was sent elsewhere already.
void UseStartingConsole() {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* ignored = nullptr;
    ::freopen_s(&ignored, "CONOUT$", "w", stdout);
    ::freopen_s(&ignored, "CONOUT$", "w", stderr);
    std::cout.clear();
    std::cerr.clear();
}

}  // namespace

int main(int, char** argv) {
    using vigilon::app::CommandLine;
    using vigilon::app::StartPlan;
    UseStartingConsole();
    const std::vector<std::string> args = Arguments();
    // Held until the process ends, after the window is gone.
    vigilon::InstanceLock lock;
    const StartPlan plan = vigilon::app::PrepareStart(args, vigilon::app::ReadUserFolderVariables(),
                                                      lock, std::cout, std::cerr);
    switch (plan.next) {
        case StartPlan::Next::End: return plan.exitCode;
        case StartPlan::Next::RunSettings:
            return plan.line.mode == CommandLine::Mode::SetSettings
                       ? vigilon::app::RunSetSettings(plan.line.assignments, std::cout, std::cerr)
                       : vigilon::app::RunShowSettings(std::cout, std::cerr);
        case StartPlan::Next::RunMonitor:
        case StartPlan::Next::TellRunning: break;
    }
    if (plan.line.mode == CommandLine::Mode::Headless) {
        std::cerr << "vigilon: --headless runs on Linux; on Windows the window watches, and "
                     "can stay in the tray\n";
        return vigilon::app::kUsageExitCode;
    }
    return vigilon::app::RunMonitorApp(plan, argv[0]);
}
