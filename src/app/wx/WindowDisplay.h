#pragma once

#include <wx/frame.h>
#include <wx/textctrl.h>

#include <map>
#include <string>

#include "MainWindowLayout.h"
#include "MonitorPorts.h"

namespace vigilon::app {

class MonitorShell;

// What the monitoring run shows, put into the main window's controls,
// caption and menu. The tray icon and hiding follow the shell's rules.
class WindowDisplay : public MonitorDisplay {
public:
    WindowDisplay(wxFrame& frame, const MainWindowControls& controls)
        : frame_(frame), controls_(controls) {}

    void SetShell(MonitorShell* shell) { shell_ = shell; }

    void ShowLamp(Lamp lamp, bool visible) override;
    void SetCaption(const std::string& caption) override;
    void SetToggleButtonText(const std::string& text) override;
    void EnableStartStop(bool startEnabled, bool stopEnabled) override;
    void SetProgress(int position) override;
    void Refresh(const MonitorSettings& settings, const MonitorRun& run) override;
    void SetTrayState(TrayState state) override;
    void HideWindow() override;
    void SetMenuChecks(bool logChecked, bool emailChecked) override;

private:
    void ShowEdit(wxTextCtrl* edit, const std::string& text);

    wxFrame& frame_;
    const MainWindowControls& controls_;
    MonitorShell* shell_ = nullptr;
    std::map<const wxTextCtrl*, std::string> editTexts_;  // as last pushed
};

}  // namespace vigilon::app
