#include "CTestSettingsDlg.h"

#include <wx/frame.h>
#include <wx/utils.h>

#include "DialogIds.h"
#include "DialogTemplate.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

using K = ControlKind;

// Template 135, in template order.
const TemplateItem kSelfTestTemplate[] = {
    {wxID_OK, K::DefaultButton, "&Done", 123, 92, 43, 14},
    {IDC_TARGET_ROW_LABEL, K::Label, "Target:", 37, 19, 24, 8},
    {wxID_ANY, K::GroupBox, "Testing Settings", 7, 5, 108, 101},
    {IDC_CONTROL_ROW_LABEL, K::Label, "Control:", 36, 33, 25, 8},
    {IDC_SMTP1_ROW_LABEL, K::Label, "SMTP 1:", 32, 47, 29, 8},
    {IDC_SMTP2_ROW_LABEL, K::Label, "SMTP 2:", 32, 61, 29, 8},
    {IDC_MAIL1_ROW_LABEL, K::Label, "Email SMTP 1:", 13, 75, 48, 8},
    {wxID_ANY, K::Label, "Email SMTP 2:", 13, 89, 48, 8},
    {IDC_TARGET_RESULT, K::ResultBox, "", 65, 18, 38, 11},
    {IDC_CONTROL_RESULT, K::ResultBox, "", 65, 32, 38, 11},
    {IDC_SMTP1_PING_RESULT, K::ResultBox, "", 65, 46, 38, 11},
    {IDC_SMTP2_PING_RESULT, K::ResultBox, "", 65, 60, 38, 11},
    {IDC_SMTP1_MAIL_RESULT, K::ResultBox, "", 65, 74, 38, 11},
    {IDC_SMTP2_MAIL_RESULT, K::ResultBox, "", 65, 88, 38, 11},
    {wxID_ANY, K::LampPicture, "", 134, 15, 16, 14},
};

}  // namespace

CTestSettingsDlg::CTestSettingsDlg(wxWindow* parent, const SelfTestInputs& inputs,
                                   NetworkProbes& network, LogWriter& eventLog)
    : wxDialog(parent, kSelfTestDialogId, "Testing Your Settings", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW),
      inputs_(inputs),
      selfTest_(network, eventLog),
      startTimer_(this, kStartTimerId) {
    BuildFromTemplate(this, 173, 113, kSelfTestTemplate);
    Bind(wxEVT_INIT_DIALOG, &CTestSettingsDlg::OnInitDialog, this);
    Bind(wxEVT_TIMER, &CTestSettingsDlg::OnStartTimer, this, kStartTimerId);
    // A message box of the probe takes the mouse for itself; the run goes on.
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
    // Escape and the close box end the dialog at once, also before the run.
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE && !busy_)
            EndModal(wxID_CANCEL);
        else
            event.Skip();
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (busy_ && event.CanVeto()) return event.Veto();  // the run ends first
        if (IsModal())
            EndModal(wxID_CANCEL);
        else
            event.Skip();
    });
    CentreOnParent();
}

void CTestSettingsDlg::OnInitDialog(wxInitDialogEvent&) {
    ShowResults(results_);
    startTimer_.StartOnce(kStartDelayMs);
    FindWindow(wxID_OK)->Disable();
}

void CTestSettingsDlg::OnStartTimer(wxTimerEvent& event) {
    startTimer_.Stop();  // one run only
    busy_ = true;        // at once: the run's first step reaches the window later
    worker_ = std::make_unique<WorkerThread>(windowThread_, "self-test");
    worker_->Run([this]() -> std::function<void()> {
        selfTest_.RunTests(inputs_, postedView_);
        return nullptr;
    });
    event.Skip();
}

void CTestSettingsDlg::BeginRun() {
    busy_ = true;
    wxBeginBusyCursor();
    CaptureMouse();
}

void CTestSettingsDlg::ShowResults(const SelfTestResults& results) {
    results_ = results;
    SetResultBoxText(FindWindow(IDC_TARGET_RESULT), ToWx(results.targetPingResult));
    SetResultBoxText(FindWindow(IDC_CONTROL_RESULT), ToWx(results.controlPingResult));
    SetResultBoxText(FindWindow(IDC_SMTP1_PING_RESULT), ToWx(results.smtp1PingResult));
    SetResultBoxText(FindWindow(IDC_SMTP2_PING_RESULT), ToWx(results.smtp2PingResult));
    SetResultBoxText(FindWindow(IDC_SMTP1_MAIL_RESULT), ToWx(results.smtp1MailResult));
    SetResultBoxText(FindWindow(IDC_SMTP2_MAIL_RESULT), ToWx(results.smtp2MailResult));
}

void CTestSettingsDlg::EndRun() {
    if (HasCapture()) ReleaseMouse();
    wxEndBusyCursor();
    FindWindow(wxID_OK)->Enable();
    busy_ = false;
    if (outsideClose_.BusyEnded() && IsModal()) EndModal(wxID_CANCEL);
}

void CTestSettingsDlg::RequestClose() {
    if (outsideClose_.Request(busy_) && IsModal()) EndModal(wxID_CANCEL);
}

}  // namespace vigilon::app
