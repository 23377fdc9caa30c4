#include "ExitSequence.h"

#include "SettingsFile.h"

namespace vigilon::app {

namespace {

// The settings file's "SAVED SETTINGS" line goes through the engine's gated
// log, like every other line of the run.
class EngineLog : public LogWriter {
public:
    explicit EngineLog(MonitorEngine& engine) : engine_(engine) {}
    void Write(const std::string& message) override { engine_.WriteLog(message); }

private:
    MonitorEngine& engine_;
};

// The store reports a failed save; at exit the shell shows it through the
// prompt it was given, as the program ends right after.
class ShownOnExit : public ProblemReport {
public:
    explicit ShownOnExit(UserPrompt& prompt) : prompt_(prompt) {}
    void Report(const std::string& text, MessageIcon icon) override {
        prompt_.ShowMessage(text, icon);
    }

private:
    UserPrompt& prompt_;
};

}  // namespace

std::string MailsWaitingLine(int waiting) {
    return "***** " + std::to_string(waiting) + " EMAIL" + (waiting == 1 ? "" : "S") +
           " NOT YET DELIVERED: they will be sent at the next start *****";
}

void WriteExitRecords(MonitorEngine& engine, UserPrompt& prompt) {
    if (const int waiting = engine.MailsWaiting(); waiting > 0)
        engine.WriteLog(MailsWaitingLine(waiting));
    EngineLog writeLog(engine);
    ShownOnExit problems(prompt);
    SaveSettings(kSettingsFileName, engine.Settings(), problems, writeLog);
    engine.WriteLog(kExitLine);
}

}  // namespace vigilon::app
