#include "SettingsEditor.h"

namespace vigilon {

EditOutcome SettingsEditor::EditSettings(EditPurpose purpose) {
    if (openDialog_ != nullptr) {
        // The open edit applies and saves when its dialog closes.
        openDialog_->BringForward();
        return EditOutcome::Applied;
    }
    std::unique_ptr<SettingsDialog> dialog = dialogs_.NewSettingsDialog();
    engine_.PauseForSettingsEdit();

    MonitorSettings shown = SettingsToEdit(engine_.Settings());
    if (purpose == EditPurpose::EnableEmail) shown.emailEnabled = 1;
    dialog->SetFields(shown);
    dialog->SetCancelledWithoutTarget(false);
    openDialog_ = dialog.get();
    dialog->RunModal();
    openDialog_ = nullptr;

    // A first run given up without a target: nothing is applied or saved and
    // the run stays paused, as the program is about to end.
    if (dialog->CancelledWithoutTarget()) return EditOutcome::EndProgram;

    MonitorSettings edited = dialog->Fields();
    // Escape or Cancel leave the fields as they were: e-mail would be on
    // with nowhere to go, and alerts would silently be lost.
    if (purpose == EditPurpose::EnableEmail && EmailSettingsIncomplete(edited))
        edited.emailEnabled = engine_.Settings().emailEnabled;
    engine_.ApplyEditedSettings(edited);
    return saver_.Save(engine_.Settings(), engine_.GatedWriter()) ? EditOutcome::Applied
                                                                  : EditOutcome::SaveFailed;
}

}  // namespace vigilon
