#include "SettingsForm.h"

#include "DialogIds.h"
#include "DialogInteger.h"
#include "SettingsRules.h"

namespace vigilon::app {

// One control bound to one field: a check box, a text box or an integer box
// with its range.
struct FieldBinding {
    enum Kind { Check, Text, Integer } kind;
    int controlId;
    std::string MonitorSettings::*text = nullptr;
    std::int32_t MonitorSettings::*number = nullptr;
    const IntegerRule* range = nullptr;
};

namespace {

using Binding = FieldBinding;
using S = MonitorSettings;

// The order in which the controls are read: after a refusal the fields
// before the refused box hold new values and the ones after it their old.
const Binding kBindings[] = {
    {Binding::Check, IDC_ENABLE_LOG, nullptr, &S::logEnabled},
    {Binding::Text, IDC_CONTROL, &S::controlAddress},
    {Binding::Text, IDC_MAIL_TO, &S::mailTo},
    {Binding::Text, IDC_SMTP1, &S::smtpServer1},
    {Binding::Text, IDC_SMTP2, &S::smtpServer2},
    {Binding::Text, IDC_TARGET, &S::targetAddress},
    {Binding::Integer, IDC_FREQUENCY, nullptr, kFrequencyRule.field, &kFrequencyRule},
    {Binding::Integer, IDC_TIMEOUTS, nullptr, kTimeoutsRule.field, &kTimeoutsRule},
    {Binding::Text, IDC_MAIL_FROM, &S::mailFrom},
    {Binding::Check, IDC_ENABLE_EMAIL, nullptr, &S::emailEnabled},
    {Binding::Check, IDC_AUTO_MINIMIZE, nullptr, &S::autoMinimize},
};

}  // namespace

SettingsForm::SettingsForm(SettingsFormView& view, UserPrompt& prompt, EventLog& eventLog)
    : view_(view), prompt_(prompt), eventLog_(eventLog) {
    // A new dialog holds empty texts and zeros until its caller fills it.
    fields.pingFrequency = 0;
    fields.timeoutsBeforeEmail = 0;
    fields.logEnabled = 0;
    fields.emailEnabled = 0;
    fields.autoMinimize = 0;
}

void SettingsForm::TransferToControls() {
    for (const Binding& binding : kBindings) {
        switch (binding.kind) {
            case Binding::Check: {
                std::int32_t& value = fields.*binding.number;
                if (value < 0 || value > 2) value = 0;
                view_.SetChecked(binding.controlId, value != 0);
                break;
            }
            case Binding::Text: view_.SetText(binding.controlId, fields.*binding.text); break;
            case Binding::Integer:
                view_.SetText(binding.controlId, std::to_string(fields.*binding.number));
                break;
        }
    }
}

bool SettingsForm::TransferFromControls() {
    for (const Binding& binding : kBindings)
        if (!ReadControl(binding)) return false;
    return true;
}

bool SettingsForm::ReadControl(const FieldBinding& binding) {
    switch (binding.kind) {
        case Binding::Check:
            fields.*binding.number = view_.IsChecked(binding.controlId) ? 1 : 0;
            break;
        case Binding::Text: fields.*binding.text = view_.GetText(binding.controlId); break;
        case Binding::Integer: {
            std::int32_t value = 0;
            if (!ParseDialogInteger(view_.GetText(binding.controlId), value)) {
                Refuse(binding.controlId, kNotAnInteger);
                return false;
            }
            // Stored before the range check: a refused value stays in the field.
            fields.*binding.number = value;
            if (value < binding.range->low || value > binding.range->high) {
                Refuse(binding.controlId, OutOfRangeMessage(*binding.range));
                return false;
            }
            break;
        }
    }
    return true;
}

void SettingsForm::Refuse(int controlId, const std::string& message) {
    transferring_ = true;
    prompt_.ShowMessage(message, MessageIcon::Exclamation);
    transferring_ = false;
    view_.FocusAndSelectAll(controlId);
}

void SettingsForm::ApplyEnableRule(const std::int32_t& switchField,
                                   std::initializer_list<int> controls) {
    TransferFromControls();  // a refusal has been shown; the rule goes on
    const bool on = switchField != 0;
    for (int id : controls)
        view_.EnableControl(id, on);
    TransferToControls();
}

void SettingsForm::ApplyEmailEnableRule() {
    ApplyEnableRule(fields.emailEnabled, {IDC_TIMEOUTS_LABEL, IDC_TO_LABEL, IDC_FROM_LABEL,
                                          IDC_SMTP1_LABEL, IDC_SMTP2_LABEL, IDC_TIMEOUTS,
                                          IDC_MAIL_TO, IDC_MAIL_FROM, IDC_SMTP1, IDC_SMTP2});
}

void SettingsForm::ApplyLogEnableRule() {
    ApplyEnableRule(fields.logEnabled, {IDC_VIEW_LOG, IDC_CLEAR_LOG});
}

std::string SettingsForm::ListMissingEntries() { return app::ListMissingEntries(fields); }

void SettingsForm::OnOpen() {
    TransferToControls();
    ApplyEmailEnableRule();
    ApplyLogEnableRule();
}

void SettingsForm::OnFrequencyFocusLost() {
    if (transferring_) return;
    TransferFromControls();  // the result does not matter here
}

bool SettingsForm::CheckEntries() {
    TransferFromControls();  // a refusal has been shown; go on with what was read
    const std::string missing = ListMissingEntries();
    TransferToControls();
    if (missing.empty()) return true;
    prompt_.ShowMessage(kMissingHeading + missing, MessageIcon::Exclamation);
    return false;
}

void SettingsForm::OnDone() {
    if (!CheckEntries()) return;
    cancelledWithoutTarget = false;
    if (TransferFromControls()) view_.CloseDialog(DialogResult::Ok);
}

void SettingsForm::OnTestSettings() {
    if (!CheckEntries()) return;
    SelfTestInputs inputs;
    inputs.mailFrom = fields.mailFrom;
    inputs.emailEnabled = fields.emailEnabled;
    inputs.smtpServer2 = fields.smtpServer2;
    inputs.smtpServer1 = fields.smtpServer1;
    inputs.mailTo = fields.mailTo;
    inputs.controlAddress = fields.controlAddress;
    inputs.targetAddress = fields.targetAddress;
    view_.RunSelfTest(inputs);
}

void SettingsForm::OnCancel() {
    // The field as the last transfer left it; the box is not read again.
    if (fields.targetAddress.empty()) cancelledWithoutTarget = true;
    view_.CloseDialog(DialogResult::Cancel);
}

void SettingsForm::OnEscape() { view_.CloseDialog(DialogResult::Cancel); }

void SettingsForm::OnClearLog() {
    if (!prompt_.AskYesNo(kLogClearQuestion, MessageIcon::Question)) return;
    if (const std::string problem = eventLog_.Clear(); !problem.empty())
        prompt_.ShowMessage(problem, MessageIcon::Exclamation);
}

}  // namespace vigilon::app
