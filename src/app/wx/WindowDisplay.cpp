#include "WindowDisplay.h"

#include <wx/menu.h>

#include "CommandIds.h"
#include "MonitorShell.h"
#include "WxCommandIds.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

void Show(ValueField* value, const std::string& text) { value->SetLabel(ToWx(text)); }

}  // namespace

// Only a changed text is pushed, so that the one-second refresh does not
// make the fields flicker or lose a selection. The text last pushed is
// kept: asking the control for its own would convert it every second.
void WindowDisplay::ShowEdit(wxTextCtrl* edit, const std::string& text) {
    std::string& shown = editTexts_[edit];
    if (shown == text) return;
    edit->ChangeValue(ToWx(text));
    shown = text;
}

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

// Only a change reaches the bar: told its own position again (a reset at
// 0), it would still be laid out and drawn anew.
void WindowDisplay::SetProgress(int position) {
    if (controls_.progress->GetValue() != position) controls_.progress->SetValue(position);
}

void WindowDisplay::Refresh(const MonitorSettings& settings, const MonitorRun& run) {
    ShowEdit(controls_.targetAddress, settings.targetAddress);
    ShowEdit(controls_.targetIp, run.targetIp);
    ShowEdit(controls_.ipToName, run.ipToName);
    ShowEdit(controls_.countdown, std::to_string(run.countdown));
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
