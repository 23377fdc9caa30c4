// The main window's commands: buttons, main menu and tray menu entries
// that share an action do exactly the same thing.
#include "Commands.h"
#include "MonitorShell.h"

namespace vigilon::app {

bool MonitorShell::RunCommand(int commandId) {
    const Command* command = FindCommand(commandId);
    if (command == nullptr) return false;
    switch (command->action) {
        case ShellAction::ToggleMonitoring: parts_.engine.ToggleMonitoring(); break;
        case ShellAction::EditSettings: EditSettings(); break;
        case ShellAction::Exit: RunExitSequence(); break;
        case ShellAction::ToggleEmail: ToggleEmail(); break;
        case ShellAction::ToggleLog: ToggleLog(); break;
        case ShellAction::ViewLog: ViewLog(); break;
        case ShellAction::SimplePing: parts_.services.LaunchSimplePing(); break;
        case ShellAction::Help: parts_.services.OpenHelp(); break;
        case ShellAction::About: parts_.services.ShowAbout(); break;
        case ShellAction::Open: Open(); break;
    }
    return true;
}

void MonitorShell::ToggleEmail() {
    MonitorEngine& engine = parts_.engine;
    const MonitorSettings& settings = engine.Settings();
    if (settings.emailEnabled != 0 || !EmailSettingsIncomplete(settings)) {
        engine.ToggleEmail();
        return;
    }
    parts_.prompt.ShowMessage(kEmailIncompleteMessage);
    // E-mail is on in the dialog; the edit keeps it on only with somewhere
    // to send to. It may end the program; its apply sets the check marks.
    EditSettings(EditPurpose::EnableEmail);
    engine.UpdateMenuChecks();
}

void MonitorShell::ToggleLog() { parts_.engine.ToggleLog(); }

void MonitorShell::ViewLog() {
    if (parts_.engine.Settings().logEnabled == 0) {
        if (!parts_.prompt.AskYesNo(kEnableLogQuestion, MessageIcon::Question, kEnableLogCaption))
            return;
        parts_.engine.ToggleLog();
    }
    parts_.eventLog.OpenInEditor();
}

EditOutcome MonitorShell::EditSettings(EditPurpose purpose) {
    const EditOutcome outcome = parts_.editing.EditSettings(purpose);
    // Only the request that opened the dialog acts once it has closed.
    if (parts_.editing.EditOpen()) return outcome;
    const bool exitWaiting = exit_.TakeWaitingExit();
    // A first run cancelled without a target closes the window without
    // saving or logging anything.
    if (outcome == EditOutcome::EndProgram) {
        exit_.BeginEnd();
        parts_.window.EndModalRun();
    } else if (exitWaiting) {
        RunExitSequence();
    }
    return outcome;
}

// Twice, as the tray's "Open" always did: the first call may only restore
// a minimised window, the second shows it.
void MonitorShell::Open() {
    parts_.window.ShowNormal();
    parts_.window.ShowNormal();
}

}  // namespace vigilon::app
