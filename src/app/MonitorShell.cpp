// The main window's start-up and exit sequences.
#include "MonitorShell.h"

#include "ExitSequence.h"
#include "IcmpPrivileges.h"
#include "SettingsFile.h"

namespace vigilon::app {

MonitorShell::MonitorShell(ShellParts parts) : parts_(parts), tray_(parts.trayBackend) {}

StartupOutcome MonitorShell::InitMainWindow() {
    MonitorEngine& engine = parts_.engine;
    // The engine comes with its day count at 0 and stopped; the progress
    // bar's range 0..100 is fixed when the window lays it out.
    CheckIcmpSockets();

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
// once, here, in a box that holds up nothing: a program started at login
// goes on to monitor, as the right may be granted later.
void MonitorShell::CheckIcmpSockets() {
    if (!parts_.icmp.CanOpenIcmpSocket())
        parts_.problems.Report(IcmpUnavailableMessage(), MessageIcon::Exclamation);
}

StartupOutcome MonitorShell::LoadOrEditSettings() {
    MonitorEngine& engine = parts_.engine;
    // A damaged file still gives the fields read before the damage.
    MonitorSettings loaded = engine.Settings();
    const LoadResult result = LoadSettings(kSettingsFileName, loaded, parts_.problems);
    if (result != LoadResult::NotFound) engine.AdoptSettings(loaded);
    switch (result) {
        case LoadResult::Loaded: return StartupOutcome::Monitoring;
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
        exit_.WaitForEdit();
        parts_.editing.CloseOpenEdit();
        return false;
    }
    // Once only: a second Exit while the first one's box is open changes nothing.
    if (!exit_.BeginEnd()) return true;
    // A settings file that cannot be written is reported once, in its box;
    // the program ends all the same, as nobody may be there to help it.
    WriteExitRecords(parts_.engine, parts_.prompt);
    parts_.window.EndModalRun();
    return true;
}

}  // namespace vigilon::app
