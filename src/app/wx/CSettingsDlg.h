#pragma once

#include <wx/dialog.h>

#include "EventLog.h"
#include "MonitorPorts.h"
#include "OutsideClose.h"
#include "SettingsEditPorts.h"
#include "SettingsForm.h"
#include "UserPrompt.h"

namespace vigilon::app {

class CTestSettingsDlg;

// What the settings dialog and its self-test use of the program.
struct SettingsDialogServices {
    UserPrompt& prompt;
    EventLog& eventLog;      // View Log, Clear Log, and the self-test's lines
    NetworkProbes& network;  // the self-test's probes
};

// "Vigilon Settings" (template 131): lays out the controls and forwards
// their events to the form, which holds the rules.
class CSettingsDlg : public wxDialog, public SettingsFormView, public SettingsDialog {
public:
    CSettingsDlg(wxWindow* parent, const SettingsDialogServices& services);

    SettingsForm& Form() { return form_; }

    // SettingsDialog
    void SetFields(const MonitorSettings& fields) override { form_.fields = fields; }
    void SetCancelledWithoutTarget(bool cancelled) override {
        form_.cancelledWithoutTarget = cancelled;
    }
    void RunModal() override { ShowModal(); }
    MonitorSettings Fields() const override { return form_.fields; }
    bool CancelledWithoutTarget() const override { return form_.cancelledWithoutTarget; }
    void BringForward() override { Raise(); }
    void Dismiss() override;

    // SettingsFormView
    std::string GetText(int controlId) const override;
    void SetText(int controlId, const std::string& text) override;
    bool IsChecked(int controlId) const override;
    void SetChecked(int controlId, bool checked) override;
    void EnableControl(int controlId, bool enabled) override;
    void FocusAndSelectAll(int controlId) override;
    void CloseDialog(DialogResult result) override;
    void RunSelfTest(const SelfTestInputs& inputs) override;

private:
    void BindEvents();
    void OnInitDialog(wxInitDialogEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnFrequencyKillFocus(wxFocusEvent& event);

    SettingsDialogServices services_;
    SettingsForm form_;
    CTestSettingsDlg* selfTest_ = nullptr;  // while its modal run goes on
    OutsideClose outsideClose_;
};

}  // namespace vigilon::app
