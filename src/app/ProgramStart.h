#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "DataFolder.h"
#include "InstanceLock.h"

namespace vigilon::app {

// What the process does after reading its command line.
struct StartPlan {
    enum class Next {
        End,          // answered or refused on the streams; end with exitCode
        RunMonitor,   // the folder is current and locked: monitor, in line.mode
        RunSettings,  // the folder is current, not locked: --set or --show-settings
        TellRunning,  // another copy holds the folder: show refusal and end
    };
    Next next = Next::End;
    int exitCode = 0;
    // The message for TellRunning, naming the folder.
    std::string refusal;
    CommandLine line;
};

// Everything before the toolkit starts, in this order: the options (help,
// version and mistakes end here, on out and err), the data folder (created
// and made current), the folder's lock (held by lock for the run; the
// settings commands take none, so that they work beside a running
// monitor, whose next SIGHUP reads what they saved). A lock
// file that cannot be made (a read-only folder) is reported on err and the
// monitor runs unlocked, as it would have before locks.
StartPlan PrepareStart(const std::vector<std::string>& args, const UserFolderVariables& variables,
                       InstanceLock& lock, std::ostream& out, std::ostream& err);

// The exit status of a refused command line and of a second copy.
inline constexpr int kUsageExitCode = 2;
inline constexpr int kAlreadyRunningExitCode = 1;

}  // namespace vigilon::app
