#pragma once

#include <memory>

#include "AlertMailer.h"
#include "AlertNoticeDelivery.h"
#include "CMonitorDlg.h"
#include "EventLog.h"
#include "IcmpPrivileges.h"
#include "MonitorEngine.h"
#include "MonitorShell.h"
#include "PosixProgramLauncher.h"
#include "SettingsEditor.h"
#include "SettingsFileSaver.h"
#include "SystemNetwork.h"
#include "SystemTime.h"
#include "WxDesktopNotifier.h"
#include "WxSettingsDialogs.h"
#include "WxUserPrompt.h"

namespace vigilon::app {

// What a caller (the window tests) may put in place of the desktop's own.
struct ProgramOptions {
    ProgramLauncher* launcher = nullptr;  // the detached launcher when null
    SettingsEditing* editing = nullptr;   // the settings dialog when null
};

// The real program, assembled in one place: which object serves each of the
// engine's and the shell's ports. Built before the window is shown and torn
// down after its modal run: the window first, then the tray icon.
class VigilonProgram {
public:
    explicit VigilonProgram(ProgramOptions options = {});
    ~VigilonProgram();
    VigilonProgram(const VigilonProgram&) = delete;
    VigilonProgram& operator=(const VigilonProgram&) = delete;

    // The window's initialisation; the window is shown unless it ended there.
    StartupOutcome Start();
    // Start, then the modal run until the program ends.
    void Run();

    CMonitorDlg& Window() { return *window_; }
    MonitorEngine& Engine() { return engine_; }
    MonitorShell& Shell() { return shell_; }

private:
    SystemClock clock_;
    BlockingPause pause_;
    PosixProgramLauncher desktopLauncher_;
    ProgramLauncher& launcher_;
    CMonitorDlg* window_;  // a top-level window: destroyed through Destroy()
    WxUserPrompt prompt_;
    EventLog eventLog_;
    SystemNetwork network_;
    AlertMailer mailer_;
    WxDesktopNotifier desktopNotices_;
    AlertNoticeDelivery alerts_;  // a desktop notice, then the mail
    MonitorEngine engine_;
    WxSettingsDialogs settingsDialogs_;
    SettingsFileSaver settingsSaver_;
    SettingsEditor settingsEditor_;
    SettingsEditing& editing_;
    std::unique_ptr<ShellServices> services_;
    std::unique_ptr<TrayBackend> trayBackend_;
    SystemIcmpCheck icmp_;
    MonitorShell shell_;  // last: its tray icon goes before the backend
};

}  // namespace vigilon::app
