#include "WindowDisplay.h"

#include <wx/menu.h>

#include "CommandIds.h"
#include "MonitorShell.h"
#include "WxCommandIds.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// Only a changed text is pushed, so that the one-second refresh does not
// make the fields flicker or lose a selection.
void Show(wxTextCtrl* edit, const std::string& text) {
    const wxString value = ToWx(text);
    if (edit->GetValue() != value) edit->ChangeValue(value);
}

void Show(ValueField* value, const std::string& text) { value->SetLabel(ToWx(text)); }

}  // namespace

void WindowDisplay::ShowLamp(Lamp lamp, bool visible) {
    wxStaticBitmap* control = controls_.lampIdle;
    if (lamp == Lamp::Online) control = controls_.lampOnline;
    if (lamp == Lamp::TargetDown) control = controls_.lampTargetDown;
    control->Show(visible);
}

void WindowDisplay::SetCaption(const std::string& caption) { frame_.SetTitle(ToWx(caption)); }

void WindowDisplay::SetToggleButtonText(const std::string& text) {
    controls_.toggle->SetLabel(ToWx(text));
}

void WindowDisplay::EnableStartStop(bool startEnabled, bool stopEnabled) {
    wxMenuBar* menu = frame_.GetMenuBar();
    menu->Enable(ToWxId(ID_FILE_START), startEnabled);
    menu->Enable(ToWxId(ID_FILE_STOP), stopEnabled);
}

void WindowDisplay::SetProgress(int position) { controls_.progress->SetValue(position); }

void WindowDisplay::Refresh(const MonitorSettings& settings, const MonitorRun& run) {
    Show(controls_.targetAddress, settings.targetAddress);
    Show(controls_.targetIp, run.targetIp);
    Show(controls_.ipToName, run.ipToName);
    Show(controls_.countdown, std::to_string(run.countdown));
    Show(controls_.pingNumber, run.pingNumberText);
    Show(controls_.targetTimeouts, run.targetTimeoutsText);
    Show(controls_.controlTimeouts, run.controlTimeoutsText);
    Show(controls_.emails, run.emailsText);
    Show(controls_.timeRunning, run.timeRunningText);
    Show(controls_.lastError, run.lastError);
    Show(controls_.results, run.lastResult);
}

void WindowDisplay::SetTrayState(TrayState state) {
    if (shell_ != nullptr) shell_->UpdateTrayIcon(state);
}

void WindowDisplay::HideWindow() {
    if (shell_ != nullptr) shell_->HideWindow();
}

void WindowDisplay::SetMenuChecks(bool logChecked, bool emailChecked) {
    wxMenuBar* menu = frame_.GetMenuBar();
    menu->Check(ToWxId(ID_OPTIONS_LOG), logChecked);
    menu->Check(ToWxId(ID_OPTIONS_EMAIL), emailChecked);
}

}  // namespace vigilon::app
