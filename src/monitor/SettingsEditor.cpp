#include "SettingsEditor.h"

namespace vigilon {

namespace {

// What the dialog shows for a record: the record itself, or the values of a
// first run while no target is set; an empty control host shows the default.
MonitorSettings DialogValues(const MonitorSettings& record) {
    MonitorSettings shown = record.targetAddress.empty() ? FirstRunSettings() : record;
    // A first run shows every text empty, the control host included, so the
    // default host fills an empty field in both cases.
    if (shown.controlAddress.empty()) shown.controlAddress = kDefaultControlHost;
    return shown;
}

}  // namespace

EditOutcome SettingsEditor::EditSettings() {
    if (openDialog_ != nullptr) {
        // The open edit applies and saves when its dialog closes.
        openDialog_->BringForward();
        return EditOutcome::Applied;
    }
    std::unique_ptr<SettingsDialog> dialog = dialogs_.NewSettingsDialog();
    engine_.PauseForSettingsEdit();

    dialog->SetFields(DialogValues(engine_.Settings()));
    dialog->SetCancelledWithoutTarget(false);
    openDialog_ = dialog.get();
    dialog->RunModal();
    openDialog_ = nullptr;

    // A first run given up without a target: nothing is applied or saved and
    // the run stays paused, as the program is about to end.
    if (dialog->CancelledWithoutTarget()) return EditOutcome::EndProgram;

    engine_.ApplyEditedSettings(dialog->Fields());
    return saver_.Save(engine_.Settings(), engine_.GatedWriter()) ? EditOutcome::Applied
                                                               : EditOutcome::SaveFailed;
}

}  // namespace vigilon
