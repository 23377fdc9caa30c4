#pragma once

#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "MainWindowLayout.h"
#include "MonitorEngine.h"
#include "MonitorShell.h"
#include "ShellPorts.h"
#include "WindowDisplay.h"
#include "WindowTimers.h"

namespace vigilon::app {

// The main window: dialog template 102 with its menu bar, run for the life
// of the process. It lays out the controls, implements what the engine and
// the shell ask of a window, and forwards every event to them; it decides
// nothing itself.
//
// wx gives a wxDialog no menu bar, so the window is a fixed-size wxFrame
// holding a panel (for keyboard navigation and the default button), and
// "modal" is a wx event loop of its own that RunModal runs until the exit
// sequence (or a cancelled first run) ends it. Escape arrives through the
// frame's char hook; the close box, Alt+F4 and the window menu's Close
// arrive as the close event, which the exit sequence answers and which is
// vetoed when the settings could not be saved.
class CMonitorDlg : public wxFrame, public MainWindow {
public:
    CMonitorDlg();

    MonitorDisplay& Display() { return display_; }
    Timers& WindowTimers() { return timers_; }
    // The engine and shell that get the window's events; nullptr for both
    // stops all forwarding (and the timers) before they go.
    void Attach(MonitorEngine* engine, MonitorShell* shell);

    // Runs the window until its modal run ends; returns at once if it already has.
    void RunModal();
    bool RunEnded() const { return ended_; }

    void ShowNormal() override;
    void Withdraw() override;
    void Iconify() override;
    void BringToFront() override;
    void EndModalRun() override;

private:
    void AddSystemMenuAbout();
    void OnCommand(wxCommandEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnIconize(wxIconizeEvent& event);

    wxPanel* panel_ = nullptr;
    MainWindowControls controls_;
    WindowDisplay display_;
    app::WindowTimers timers_;
    MonitorEngine* engine_ = nullptr;
    MonitorShell* shell_ = nullptr;
    wxGUIEventLoop* loop_ = nullptr;
    bool ended_ = false;
};

}  // namespace vigilon::app
