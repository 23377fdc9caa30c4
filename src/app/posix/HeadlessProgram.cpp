#include "HeadlessProgram.h"

#include <signal.h>

#include "ExitSequence.h"
#include "FilePaths.h"
#include "IcmpPrivileges.h"
#include "LogLine.h"
#include "SettingsFile.h"

namespace vigilon::app {

HeadlessProgram::HeadlessProgram(const CommandLine& line, std::ostream& err)
    : line_(line),
      problems_(err),
      prompt_(problems_),
      eventLog_(kLogFileName, problems_, launcher_, clock_),
      log_(eventLog_, problems_),
      timers_(loop_, [this](int timerId) { engine_.OnTimer(timerId); }),
      pause_(loop_),
      engineWork_(loop_, "engine-work"),
      waitingMail_(kWaitingMailFileName),
      outbox_(loop_, waitingMail_, problems_),
      engine_({timers_, display_, network_, engineWork_, outbox_, log_, clock_, pause_, problems_}),
      metrics_(problems_),
      signals_(loop_, [this](int signal) { OnSignal(signal); }) {}

HeadlessProgram::~HeadlessProgram() { engine_.Observe(nullptr); }

int HeadlessProgram::Run() {
    if (const int failed = Start(); failed != 0) return failed;
    return loop_.Run();
}

int HeadlessProgram::Start() {
    for (const std::string* error : {&loop_.Error(), &signals_.Error()}) {
        if (!error->empty()) {
            problems_.Report(*error);
            return 1;
        }
    }
    // Told once; the run goes on, as the right may be granted later.
    if (!SystemIcmpCheck().CanOpenIcmpSocket()) problems_.Report(IcmpUnavailableMessage());

    MonitorSettings loaded = engine_.Settings();
    switch (LoadSettings(kSettingsFileName, loaded, problems_)) {
        case LoadResult::Loaded: break;
        case LoadResult::NotFound:
            problems_.Report(
                "no settings in " + AbsolutePath(kSettingsFileName) +
                "; make them first: vigilon --set targetAddress=HOST controlAddress=HOST "
                "emailEnabled=0 (see vigilon --help)");
            return kNoSettingsExitCode;
        case LoadResult::Damaged:
            problems_.Report("cannot monitor with the damaged settings file " +
                             AbsolutePath(kSettingsFileName));
            return kNoSettingsExitCode;
    }
    if (loaded.targetAddress.empty()) {
        problems_.Report("the settings in " + AbsolutePath(kSettingsFileName) +
                         " name no target: vigilon --set targetAddress=HOST");
        return kNoSettingsExitCode;
    }
    // Before the first line of the run: a port in use ends the start.
    if (const std::string problem = metrics_.Start(line_.metricsListen, line_.metricsFile);
        !problem.empty()) {
        problems_.Report("--metrics-listen: " + problem);
        return 1;
    }
    engine_.Observe(metrics_.Observer());
    engine_.AdoptSettings(loaded);
    engine_.ToggleMonitoring();
    return 0;
}

void HeadlessProgram::OnSignal(int signal) {
    if (signal == SIGHUP) return ReloadSettings();
    WriteExitRecords(engine_, prompt_);
    loop_.Quit(0);
}

// The file as a settings edit would bring it: a new target resets the run,
// and a running monitor restarts with a full period. Nothing is saved: the
// file is where the change came from.
void HeadlessProgram::ReloadSettings() {
    MonitorSettings loaded = engine_.Settings();
    const LoadResult result = LoadSettings(kSettingsFileName, loaded, problems_);
    if (result != LoadResult::Loaded || loaded.targetAddress.empty()) {
        problems_.Report("SIGHUP: the settings in " + AbsolutePath(kSettingsFileName) +
                         " cannot be used; monitoring goes on as before");
        return;
    }
    engine_.PauseForSettingsEdit();
    engine_.ApplyEditedSettings(loaded);
    problems_.Report("SIGHUP: settings read again from " + AbsolutePath(kSettingsFileName));
}

int RunHeadless(const CommandLine& line, std::ostream& err) {
    // Before the first thread starts: every thread inherits the mask.
    SignalWatch::BlockWatchedSignals();
    HeadlessProgram program(line, err);
    return program.Run();
}

}  // namespace vigilon::app
