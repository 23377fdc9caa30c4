// The main window's start-up and exit sequences.
#include "MonitorShell.h"

#include "IcmpPrivileges.h"
#include "SettingsFile.h"

namespace vigilon::app {

namespace {

// The settings file's "SAVED SETTINGS" line goes through the window's gated
// log, like every other line the window writes.
class EngineLog : public LogWriter {
public:
    explicit EngineLog(MonitorEngine& engine) : engine_(engine) {}
    void Write(const std::string& message) override { engine_.WriteLog(message); }

private:
    MonitorEngine& engine_;
};

}  // namespace

MonitorShell::MonitorShell(ShellParts parts) : parts_(parts), tray_(parts.trayBackend) {}

StartupOutcome MonitorShell::InitMainWindow() {
    MonitorEngine& engine = parts_.engine;
    engine.Run().dayIndex = 0;
    CheckIcmpSockets();
    engine.Run().running = false;
    // The progress bar's range 0..100 is fixed when the window lays it out.

    const StartupOutcome loaded = LoadOrEditSettings();
    if (loaded != StartupOutcome::Monitoring) return loaded;

    parts_.display.Refresh(engine.Settings(), engine.Run());
    CreateTrayIcon();
    engine.UpdateMenuChecks();
    engine.ToggleMonitoring();
    return StartupOutcome::Monitoring;
}

// On Linux a ping needs a raw ICMP socket or the unprivileged datagram kind.
// Without either every probe would fail, so the user learns the remedies
// once, here; the program goes on, as monitoring may be granted later.
void MonitorShell::CheckIcmpSockets() {
    if (!parts_.icmp.CanOpenIcmpSocket())
        parts_.prompt.ShowMessage(IcmpUnavailableMessage(), MessageIcon::Exclamation);
}

StartupOutcome MonitorShell::LoadOrEditSettings() {
    MonitorEngine& engine = parts_.engine;
    switch (LoadSettings(kSettingsFileName, engine.Settings(), parts_.prompt)) {
        case LoadResult::Loaded:
            engine.Run().countdown = engine.Settings().pingFrequency;
            return StartupOutcome::Monitoring;
        case LoadResult::NotFound:
            switch (EditSettings()) {
                case EditOutcome::Applied: return StartupOutcome::Monitoring;
                case EditOutcome::EndProgram: return StartupOutcome::Ended;
                case EditOutcome::SaveFailed: break;
            }
            return StartupOutcome::Stopped;
        case LoadResult::Damaged: break;  // the user has been told
    }
    return StartupOutcome::Stopped;
}

bool MonitorShell::RunExitSequence() {
    if (parts_.editing.EditOpen()) {
        // Called from inside the dialog's modal run (the tray menu stays
        // usable there): saving and ending now would let the edit apply and
        // save after the exit line. The edit ends first; EditSettings then
        // comes back here.
        exitAfterEdit_ = true;
        parts_.editing.CloseOpenEdit();
        return false;
    }
    MonitorEngine& engine = parts_.engine;
    EngineLog writeLog(engine);
    if (!SaveSettings(kSettingsFileName, engine.Settings(), parts_.prompt, writeLog)) return false;
    engine.WriteLog(kExitLine);
    parts_.window.EndModalRun();
    return true;
}

}  // namespace vigilon::app
