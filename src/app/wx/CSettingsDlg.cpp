#include "CSettingsDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "CTestSettingsDlg.h"
#include "DialogIds.h"
#include "DialogTemplate.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

using K = ControlKind;

// Template 131, in template (and tab) order.
const TemplateItem kSettingsTemplate[] = {
    {IDC_TARGET, K::Edit, "", 41, 20, 102, 12},
    {IDC_CONTROL, K::Edit, "", 41, 39, 102, 12},
    {IDC_FREQUENCY, K::DigitsEdit, "", 79, 57, 30, 13},
    {IDC_ENABLE_EMAIL, K::CheckBox, "Enable Email", 176, 20, 57, 10},
    {IDC_TIMEOUTS, K::DigitsEdit, "", 271, 35, 23, 13},
    {IDC_MAIL_TO, K::Edit, "", 190, 57, 104, 12},
    {IDC_MAIL_FROM, K::Edit, "", 190, 73, 104, 12},
    {IDC_SMTP1, K::Edit, "", 203, 89, 91, 12},
    {IDC_SMTP2, K::Edit, "", 203, 105, 91, 12},
    {IDC_ENABLE_LOG, K::CheckBox, " &Enable Log", 24, 94, 54, 10},
    {IDC_VIEW_LOG, K::Button, "&View Log", 23, 107, 51, 14},
    {IDC_CLEAR_LOG, K::Button, "Clear &Log", 83, 107, 51, 14},
    {IDC_TEST_SETTINGS, K::Button, "&Test Settings", 201, 189, 47, 14},
    {IDC_DONE, K::DefaultButton, "&Done", 255, 189, 47, 14},
    {IDC_CANCEL, K::Button, "&Cancel", 7, 189, 47, 14},
    {wxID_ANY, K::GroupBox, "Ping Settings", 7, 7, 143, 73},
    {wxID_ANY, K::GroupBox, "Email Notification", 159, 7, 143, 120},
    {IDC_TO_LABEL, K::Label, "To:", 176, 60, 12, 8},
    {IDC_SMTP1_LABEL, K::Label, "1st SMTP", 168, 92, 32, 8},
    {IDC_SMTP2_LABEL, K::Label, "2nd SMTP", 165, 108, 35, 8},
    {wxID_ANY, K::Label, "Target:", 14, 23, 24, 8},
    {wxID_ANY, K::Label, "Control:", 13, 41, 25, 8},
    {wxID_ANY, K::Label, "(seconds)", 111, 60, 32, 8},
    {wxID_ANY, K::Label, "Ping &Frequency:", 27, 60, 52, 8},
    {wxID_ANY, K::Label, "* Response times over 1000 ms are considered TIMED OUT pings.", 20, 160,
     129, 19},
    {IDC_TIMEOUTS_LABEL, K::Label, "# of Time Outs before Email:", 178, 38, 90, 10},
    {wxID_ANY, K::Label, "* Ping Frequecy goes to 5 seconds when a Time Out is received.", 20, 141,
     121, 17},
    {wxID_ANY, K::GroupBox, "Logging", 7, 85, 143, 42},
    {IDC_FROM_LABEL, K::Label, "From:", 170, 76, 18, 8},
    {wxID_ANY, K::Label,
     "* Separate Email Addresses with a ';' (semicolon) to have notifications sent to multiple "
     "recipients.",
     167, 141, 128, 27},
    {wxID_ANY, K::GroupBox, "Notes", 7, 129, 295, 54},
    {IDC_AUTO_MINIMIZE, K::CheckBox, "Auto &Minimize to System Tray", 81, 192, 108, 10},
};

}  // namespace

CSettingsDlg::CSettingsDlg(wxWindow* parent, const SettingsDialogServices& services)
    // A caption without system menu or close box: the dialog ends by its
    // buttons or by Escape only.
    : wxDialog(parent, kSettingsDialogId, "Vigilon Settings", wxDefaultPosition, wxDefaultSize,
               wxCAPTION),
      services_(services),
      form_(*this, services.prompt, services.eventLog) {
    BuildFromTemplate(this, 309, 210, kSettingsTemplate);
    // Escape is the form's, not the toolkit's standard cancel.
    SetEscapeId(wxID_NONE);
    BindEvents();
    Centre();
}

void CSettingsDlg::BindEvents() {
    Bind(wxEVT_INIT_DIALOG, &CSettingsDlg::OnInitDialog, this);
    Bind(wxEVT_CHAR_HOOK, &CSettingsDlg::OnCharHook, this);
    // A window manager's close request counts as Escape.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { form_.OnEscape(); });
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { form_.OnEmailEnableClicked(); },
        IDC_ENABLE_EMAIL);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { form_.OnLogEnableClicked(); }, IDC_ENABLE_LOG);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { form_.OnDone(); }, IDC_DONE);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { form_.OnTestSettings(); }, IDC_TEST_SETTINGS);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { form_.OnCancel(); }, IDC_CANCEL);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { form_.OnViewLog(); }, IDC_VIEW_LOG);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { form_.OnClearLog(); }, IDC_CLEAR_LOG);
    FindWindow(IDC_FREQUENCY)->Bind(wxEVT_KILL_FOCUS, &CSettingsDlg::OnFrequencyKillFocus, this);
}

void CSettingsDlg::OnInitDialog(wxInitDialogEvent&) {
    form_.OnOpen();
    FindWindow(IDC_TARGET)->SetFocus();
}

void CSettingsDlg::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (event.HasAnyModifiers()) return event.Skip();
    if (key == WXK_ESCAPE) return form_.OnEscape();
    // Enter presses Done, the default button, unless a button has the focus:
    // that one is pressed instead, as it would be by the space bar.
    const bool enter = key == WXK_RETURN || key == WXK_NUMPAD_ENTER;
    if (enter && dynamic_cast<wxButton*>(wxWindow::FindFocus()) == nullptr) return form_.OnDone();
    event.Skip();
}

void CSettingsDlg::OnFrequencyKillFocus(wxFocusEvent& event) {
    event.Skip();
    // Only a move to another control of this dialog reads the boxes. The
    // dialog losing the focus to a message box or another window, or its
    // own closing, must not start a transfer (and another message box).
    // The toolkit reports the loss once the next control has the focus, or
    // when idle after the dialog went inactive.
    if (!IsShown() || !IsActive()) return;
    form_.OnFrequencyFocusLost();
}

std::string CSettingsDlg::GetText(int controlId) const {
    auto* box = dynamic_cast<wxTextCtrl*>(FindWindow(controlId));
    return box != nullptr ? FromWx(box->GetValue()) : std::string();
}

void CSettingsDlg::SetText(int controlId, const std::string& text) {
    if (auto* box = dynamic_cast<wxTextCtrl*>(FindWindow(controlId))) box->ChangeValue(ToWx(text));
}

bool CSettingsDlg::IsChecked(int controlId) const {
    auto* box = dynamic_cast<wxCheckBox*>(FindWindow(controlId));
    return box != nullptr && box->GetValue();
}

void CSettingsDlg::SetChecked(int controlId, bool checked) {
    if (auto* box = dynamic_cast<wxCheckBox*>(FindWindow(controlId))) box->SetValue(checked);
}

void CSettingsDlg::EnableControl(int controlId, bool enabled) {
    if (wxWindow* control = FindWindow(controlId)) control->Enable(enabled);
}

void CSettingsDlg::FocusAndSelectAll(int controlId) {
    if (auto* box = dynamic_cast<wxTextCtrl*>(FindWindow(controlId))) {
        box->SetFocus();
        box->SelectAll();
    }
}

void CSettingsDlg::CloseDialog(DialogResult result) {
    const int code = result == DialogResult::Ok ? wxID_OK : wxID_CANCEL;
    if (IsModal()) {
        EndModal(code);
    } else {
        SetReturnCode(code);
        Hide();
    }
}

void CSettingsDlg::RunSelfTest(const SelfTestInputs& inputs) {
    if (outsideClose_.Requested()) return;  // a message box of the check was up meanwhile
    CTestSettingsDlg selfTest(this, inputs, services_.network, services_.eventLog);
    selfTest_ = &selfTest;
    selfTest.ShowModal();
    selfTest_ = nullptr;
    if (outsideClose_.BusyEnded()) form_.OnEscape();
}

// The self-test's modal run sits inside this dialog's: it ends first, and
// this dialog closes once it has returned (RunSelfTest). wx ends a dialog's
// loop only while that loop is the innermost one; an EndModal from inside
// the self-test would hide this dialog and leave its loop running for ever.
void CSettingsDlg::Dismiss() {
    if (outsideClose_.Requested()) return;
    if (outsideClose_.Request(selfTest_ != nullptr))
        form_.OnEscape();
    else
        selfTest_->RequestClose();
}

}  // namespace vigilon::app
