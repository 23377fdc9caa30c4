// The main window's commands, by identifier: buttons, main menu and tray
// menu entries that share a row do exactly the same thing.
#include <initializer_list>
#include <utility>

#include "CommandIds.h"
#include "MonitorShell.h"

namespace vigilon::app {

namespace {

struct CommandRow {
    std::initializer_list<int> ids;
    void (*run)(MonitorShell& shell, ShellParts& parts);
};

const CommandRow kCommands[] = {
    {{ID_TOGGLE_BUTTON, ID_FILE_START, ID_FILE_STOP, ID_TRAY_START_STOP},
     [](MonitorShell&, ShellParts& parts) { parts.engine.ToggleMonitoring(); }},
    {{ID_SETTINGS_BUTTON, ID_OPTIONS_SETTINGS, ID_TRAY_SETTINGS},
     [](MonitorShell& shell, ShellParts&) { shell.EditSettings(); }},
    {{ID_FILE_EXIT, ID_TRAY_EXIT},
     [](MonitorShell& shell, ShellParts&) { shell.RunExitSequence(); }},
    {{ID_OPTIONS_EMAIL}, [](MonitorShell& shell, ShellParts&) { shell.ToggleEmail(); }},
    {{ID_OPTIONS_LOG}, [](MonitorShell& shell, ShellParts&) { shell.ToggleLog(); }},
    {{ID_OPTIONS_VIEW_LOG, ID_TRAY_VIEW_LOG},
     [](MonitorShell& shell, ShellParts&) { shell.ViewLog(); }},
    {{ID_TOOLS_SIMPLE_PING, ID_TRAY_SIMPLE_PING},
     [](MonitorShell&, ShellParts& parts) { parts.services.LaunchSimplePing(); }},
    {{ID_HELP_CONTENTS, ID_TRAY_HELP},
     [](MonitorShell&, ShellParts& parts) { parts.services.OpenHelp(); }},
    {{ID_HELP_ABOUT, ID_TRAY_ABOUT, ID_ABOUT_SYSMENU},
     [](MonitorShell&, ShellParts& parts) { parts.services.ShowAbout(); }},
    {{ID_TRAY_OPEN}, [](MonitorShell& shell, ShellParts&) { shell.Open(); }},
};

}  // namespace

bool MonitorShell::RunCommand(int commandId) {
    for (const CommandRow& row : kCommands) {
        for (int id : row.ids) {
            if (id != commandId) continue;
            row.run(*this, parts_);
            return true;
        }
    }
    return false;
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
        if (!parts_.prompt.AskYesNo(kEnableLogQuestion, MessageIcon::Question, kEnableLogCaption)) return;
        parts_.engine.ToggleLog();
    }
    parts_.eventLog.OpenInEditor();
}

EditOutcome MonitorShell::EditSettings(EditPurpose purpose) {
    const EditOutcome outcome = parts_.editing.EditSettings(purpose);
    // Only the request that opened the dialog acts once it has closed.
    if (parts_.editing.EditOpen()) return outcome;
    const bool exitRequested = std::exchange(exitAfterEdit_, false);
    // A first run cancelled without a target closes the window without
    // saving or logging anything.
    if (outcome == EditOutcome::EndProgram)
        parts_.window.EndModalRun();
    else if (exitRequested)
        RunExitSequence();
    return outcome;
}

// Twice, as the tray's "Open" always did: the first call may only restore
// a minimised window, the second shows it.
void MonitorShell::Open() {
    parts_.window.ShowNormal();
    parts_.window.ShowNormal();
}

}  // namespace vigilon::app
