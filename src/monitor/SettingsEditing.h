#pragma once

namespace vigilon {

// Why the settings dialog opens.
enum class EditPurpose {
    Settings,     // to edit whatever the user likes
    EnableEmail,  // "Enable Email" found the e-mail settings incomplete: the
                  // dialog shows e-mail on, and it stays on only when the
                  // edit completes them; left without that, e-mail stays off
};

// How a settings edit ended.
enum class EditOutcome {
    Applied,     // the dialog's values are in the record and the file is saved
    SaveFailed,  // applied, but the settings file could not be written (the user was told)
    EndProgram,  // a first run was cancelled: close at once, without the exit sequence
};

// Opens the settings dialog and applies what it returns while monitoring
// may be running. The main window's Settings commands, Enable Email and a
// first start without a settings file reach it.
class SettingsEditing {
public:
    virtual ~SettingsEditing() = default;
    virtual EditOutcome EditSettings(EditPurpose purpose = EditPurpose::Settings) = 0;
    // True while an edit's dialog is open: its modal run goes on below the caller.
    virtual bool EditOpen() const = 0;
    // Closes the open edit's dialog as Escape would, after any dialog it has
    // opened; the edit then applies and saves as usual and EditSettings
    // returns. Nothing happens without an open edit.
    virtual void CloseOpenEdit() = 0;
};

}  // namespace vigilon
