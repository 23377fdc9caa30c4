#pragma once

#include <string>

#include "EventLog.h"
#include "MonitorSettings.h"
#include "SettingsFormView.h"
#include "UserPrompt.h"

namespace vigilon::app {

struct FieldBinding;

// The settings dialog's rules without a window: the transfers between its
// fields and its controls, the enable rules of the e-mail and log controls,
// the required entries, and what each button and key does.
class SettingsForm {
public:
    SettingsForm(SettingsFormView& view, UserPrompt& prompt, EventLog& eventLog);

    // Writes every field into its control; checks nothing.
    void TransferToControls();
    // Reads the controls in the dialog's binding order. At the first box that
    // fails it shows why, focuses and selects that box and stops: earlier
    // fields hold the new values, later ones their old.
    bool TransferFromControls();
    void ApplyEmailEnableRule();
    void ApplyLogEnableRule();
    // The required entries that are empty, one per line. With e-mail on, an
    // empty sender becomes "Vigilon" (a default, not a missing entry).
    std::string ListMissingEntries();

    void OnOpen();
    void OnEmailEnableClicked() { ApplyEmailEnableRule(); }
    void OnLogEnableClicked() { ApplyLogEnableRule(); }
    // The frequency box lost the focus to another control of the dialog.
    void OnFrequencyFocusLost();
    void OnDone();
    void OnTestSettings();
    void OnCancel();
    void OnEscape();
    void OnViewLog() { eventLog_.OpenInEditor(); }
    // Asks first; a log that cannot be emptied is told in a box.
    void OnClearLog();

    // The dialog's fields; the caller fills them before the dialog opens and
    // reads them after it closed.
    MonitorSettings fields;
    bool cancelledWithoutTarget = false;

private:
    bool ReadControl(const FieldBinding& binding);
    void Refuse(int controlId, const std::string& message);
    // Done's first steps, shared by Test Settings: read, default the sender,
    // write back, and name what is missing. True when nothing is missing.
    bool CheckEntries();
    void ApplyEnableRule(const std::int32_t& switchField, std::initializer_list<int> controls);

    SettingsFormView& view_;
    UserPrompt& prompt_;
    EventLog& eventLog_;
    // True while a transfer's message box is up: a focus change it causes
    // must not start a second transfer under it.
    bool transferring_ = false;
};

}  // namespace vigilon::app
