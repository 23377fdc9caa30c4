#pragma once

#include "CTrayIcon.h"
#include "EventLog.h"
#include "ExitProgress.h"
#include "ExitSequence.h"
#include "MonitorEngine.h"
#include "ProblemReport.h"
#include "SettingsEditing.h"
#include "ShellPorts.h"
#include "TrayBackend.h"
#include "UserPrompt.h"

namespace vigilon::app {

inline constexpr const char* kEmailIncompleteMessage =
    "Please privide information for your Email settings.";
inline constexpr const char* kEnableLogQuestion = "Logging is not enabled.\n\nEnable Logging Now?.";
inline constexpr const char* kEnableLogCaption = "Enable Log?";

// How the main window's initialisation ended.
enum class StartupOutcome {
    Monitoring,  // settings in place, tray icon added, monitoring started
    Stopped,  // the settings could not be loaded or saved: the window opens idle, without tray icon
    Ended,    // a first run was cancelled: the window closes at once
};

// Everything the shell's rules work with. The window and the services
// outlive the shell.
struct ShellParts {
    MonitorEngine& engine;
    MonitorDisplay& display;
    MainWindow& window;
    UserPrompt& prompt;
    ProblemReport& problems;  // what the user is told without being asked
    SettingsEditing& editing;
    EventLog& eventLog;
    ShellServices& services;
    IcmpCheck& icmp;
    TrayBackend& trayBackend;
};

// The main window's rules, apart from any toolkit: its start-up and exit
// sequences, its commands by identifier, the tray icon it owns, and when
// it withdraws into the tray. The engine decides everything about
// monitoring; the window lays out controls and forwards its events here.
class MonitorShell : public TrayOwner {
public:
    explicit MonitorShell(ShellParts parts);

    // Start-up from the sockets check on; the window exists and is not shown yet.
    StartupOutcome InitMainWindow();
    // Save, log the exit line, end the modal run, also when the save failed
    // (its box tells the user once). Asked for while the settings dialog is
    // open, it closes that dialog as Escape would and runs once the edit is
    // over; false until then.
    bool RunExitSequence();

    // Runs the command with the given identifier (button, menu or tray menu);
    // false for an identifier that is no command of the window.
    bool RunCommand(int commandId);
    void ToggleEmail();
    void ToggleLog();
    void ViewLog();
    EditOutcome EditSettings(EditPurpose purpose = EditPurpose::Settings);
    void Open();

    void CreateTrayIcon();
    void UpdateTrayIcon(TrayState state);
    // The window was minimised by the user.
    void OnMinimised();
    // Auto-minimise: the monitoring run asks the window to go.
    void HideWindow();
    bool TrayIconShown() const { return tray_.IsEnabled(); }

    long OnTrayCallback(unsigned message, unsigned long wParam, long lParam) override;
    void OnTrayCommand(int commandId) override { RunCommand(commandId); }
    void BringToForeground() override { parts_.window.BringToFront(); }

private:
    // Hiding is safe only while an icon in a tray can bring the window back.
    bool CanHideIntoTray() const;
    void CheckIcmpSockets();
    // The settings load of start-up, or the first-run edit; Monitoring when start-up goes on.
    StartupOutcome LoadOrEditSettings();

    ShellParts parts_;
    CTrayIcon tray_;
    ExitProgress exit_;
};

}  // namespace vigilon::app
