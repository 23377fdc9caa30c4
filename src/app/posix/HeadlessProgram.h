#pragma once

#include <ostream>

#include "CommandLine.h"
#include "EventLog.h"
#include "EventLoop.h"
#include "LoopPorts.h"
#include "MailOutbox.h"
#include "MetricsService.h"
#include "MonitorEngine.h"
#include "NoDisplay.h"
#include "SignalWatch.h"
#include "StreamProblems.h"
#include "SystemNetwork.h"
#include "SystemTime.h"
#include "WaitingMailFile.h"
#include "WorkerThread.h"

namespace vigilon::app {

// Exit status of a headless start without usable settings.
inline constexpr int kNoSettingsExitCode = 2;

// The event log's lines, also on standard error, one per line, so that a
// service's journal keeps them beside the file.
class TeeLog : public LogWriter {
public:
    TeeLog(LogWriter& file, StreamProblems& errors) : file_(file), errors_(errors) {}
    void Write(const std::string& message) override {
        file_.Write(message);
        errors_.WriteLogLine(message);
    }

private:
    LogWriter& file_;
    StreamProblems& errors_;
};

// Monitoring without a display: the engine of the window program on an
// event loop of its own (EventLoop), with the same settings file, log,
// mail outbox and waiting-mail file. Problems go to standard error instead
// of boxes. SIGTERM and SIGINT run the window's exit sequence; SIGHUP reads
// the settings file again, as a settings edit would apply it.
//
// Threads: the calling thread runs the loop, the engine and the signals;
// lookups and probes run on engineWork_, mail on the outbox's thread; each
// hands its results back through the loop.
class HeadlessProgram {
public:
    // The data folder is current and locked; err is standard error.
    HeadlessProgram(const CommandLine& line, std::ostream& err);
    ~HeadlessProgram();
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    // Loads the settings and monitors until a signal ends the run; returns
    // the exit status.
    int Run();

private:
    int Start();
    void OnSignal(int signal);
    void ReloadSettings();

    CommandLine line_;
    StreamProblems problems_;
    StreamPrompt prompt_;
    EventLoop loop_;
    SystemClock clock_;
    NoLauncher launcher_;
    EventLog eventLog_;
    TeeLog log_;
    NoDisplay display_;
    LoopTimers timers_;
    LoopPause pause_;
    SystemNetwork network_;
    WorkerThread engineWork_;  // after the network it uses, so it goes first
    WaitingMailFile waitingMail_;
    MailOutbox outbox_;
    MonitorEngine engine_;
    metrics::MetricsService metrics_;  // observes the engine until the destructor takes it away
    SignalWatch signals_;
};

// The whole headless run, signals blocked first: the exit status.
int RunHeadless(const CommandLine& line, std::ostream& err);

}  // namespace vigilon::app
