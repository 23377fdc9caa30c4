// The settings file from the command line, with no window and nobody to ask.
#include "SettingsCommands.h"

#include "EventLog.h"
#include "FilePaths.h"
#include "LogLine.h"
#include "NoDisplay.h"
#include "ProgramStart.h"
#include "SettingsFields.h"
#include "SettingsFile.h"
#include "StreamProblems.h"
#include "SystemTime.h"

namespace vigilon::app {

namespace {

// What a load said on err, and whether the record may be used.
LoadResult LoadQuietly(MonitorSettings& settings, ProblemReport& problems) {
    return LoadSettings(kSettingsFileName, settings, problems);
}

}  // namespace

int RunSetSettings(const std::vector<std::string>& words, std::ostream&, std::ostream& err) {
    StreamProblems problems(err);
    MonitorSettings record = FirstRunSettings();
    if (LoadQuietly(record, problems) == LoadResult::Damaged) {
        err << "vigilon: --set: " << AbsolutePath(kSettingsFileName)
            << " is damaged; nothing was changed\n";
        return kUsageExitCode;
    }
    MonitorSettings edited = SettingsToEdit(record);
    if (const std::string problem = AssignSettings(words, edited); !problem.empty()) {
        WriteProgramLines(err, "--set: " + problem);
        return kUsageExitCode;
    }
    // "SAVED SETTINGS" goes to the log when the new record logs, as a save
    // from the dialog would write it.
    NoLauncher launcher;
    SystemClock clock;
    EventLog log(kLogFileName, problems, launcher, clock);
    return SaveSettings(kSettingsFileName, edited, problems, log) ? 0 : 1;
}

int RunShowSettings(std::ostream& out, std::ostream& err) {
    StreamProblems problems(err);
    MonitorSettings record = FirstRunSettings();
    switch (LoadQuietly(record, problems)) {
        case LoadResult::Loaded: out << SettingsLines(record); return 0;
        case LoadResult::NotFound:
            err << "vigilon: no settings in " << AbsolutePath(kSettingsFileName)
                << "; make them with vigilon --set NAME=VALUE...\n";
            return kUsageExitCode;
        case LoadResult::Damaged: return kUsageExitCode;  // the load has said why
    }
    return kUsageExitCode;
}

}  // namespace vigilon::app
