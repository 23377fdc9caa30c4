#include "ProgramStart.h"

#include <filesystem>

#include "CommandLine.h"
#include "DataFolder.h"
#include "FilePaths.h"
#include "ProgramVersion.h"

namespace vigilon::app {

namespace {

StartPlan Ended(int exitCode) { return {StartPlan::Next::End, exitCode, {}, {}}; }

std::string AlreadyRunningMessage(const std::string& folder) {
    return "Vigilon is already running in the folder\n" + folder +
           "\n\nOnly one Vigilon at a time may keep its settings and its log there, so this one "
           "ends. If you cannot see the other one's window, look for its icon in the tray.";
}

}  // namespace

StartPlan PrepareStart(const std::vector<std::string>& args, const UserFolderVariables& variables,
                       InstanceLock& lock, std::ostream& out, std::ostream& err) {
    const CommandLine line = ParseCommandLine(args);
    switch (line.action) {
        case CommandLine::Action::ShowHelp: out << UsageText(); return Ended(0);
        case CommandLine::Action::ShowVersion: out << VersionText(); return Ended(0);
        case CommandLine::Action::Refuse:
            err << "vigilon: " << line.error << "\nTry 'vigilon --help' for more information.\n";
            return Ended(kUsageExitCode);
        case CommandLine::Action::Run: break;
    }

    std::filesystem::path folder = line.dataDir;
    if (line.userData) {
        folder = UserDataFolder(variables);
        if (folder.empty()) {
            err << "vigilon: --user-data: " << NoUserFolderText() << "\n";
            return Ended(1);
        }
    }
    if (!folder.empty()) {
        const std::string problem = EnterDataFolder(folder);
        if (!problem.empty()) {
            err << "vigilon: " << problem << "\n";
            return Ended(1);
        }
    }

    if (!line.Monitors()) return {StartPlan::Next::RunSettings, 0, {}, line};

    std::error_code ignored;
    const std::string here = PathText(std::filesystem::current_path(ignored));
    switch (lock.Acquire(kLockFileName)) {
        case LockResult::Held: break;
        case LockResult::Busy: {
            StartPlan plan{StartPlan::Next::TellRunning, kAlreadyRunningExitCode,
                           AlreadyRunningMessage(here), line};
            // Also for whoever started it from a terminal or a script.
            err << "vigilon: already running in " << here << "\n";
            return plan;
        }
        case LockResult::Failed:
            err << "vigilon: warning: cannot lock the folder, a second Vigilon could start there: "
                << lock.Error() << "\n";
            break;
    }
    return {StartPlan::Next::RunMonitor, 0, {}, line};
}

}  // namespace vigilon::app
