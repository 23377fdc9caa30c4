#pragma once

#include <filesystem>
#include <memory>

#include "AlertNoticeDelivery.h"
#include "CMonitorDlg.h"
#include "DesktopLauncher.h"
#include "EventLog.h"
#include "IcmpPrivileges.h"
#include "LogViewerFrame.h"
#include "MailOutbox.h"
#include "MetricsService.h"
#include "MonitorEngine.h"
#include "MonitorShell.h"
#include "PostedProblems.h"
#include "ProblemBoxes.h"
#include "SettingsEditor.h"
#include "SettingsFileSaver.h"
#include "SystemNetwork.h"
#include "SystemTime.h"
#include "WaitingMailFile.h"
#include "WorkerThread.h"
#include "WxDesktopNotifier.h"
#include "WxDispatcher.h"
#include "WxModelessBoxes.h"
#include "WxPause.h"
#include "WxSettingsDialogs.h"
#include "WxUserPrompt.h"

namespace vigilon::app {

// What a caller (the window tests) may put in place of the desktop's own.
struct ProgramOptions {
    ProgramLauncher* launcher = nullptr;  // the detached launcher when null
    SettingsEditing* editing = nullptr;   // the settings dialog when null
    // --metrics-listen and --metrics-file; empty for none.
    std::string metricsListen;
    std::string metricsFile;
    // The folder of the help book and its viewer; empty for the installation's.
    std::filesystem::path helpFolder;
};

// The real program, assembled in one place: which object serves each of the
// engine's and the shell's ports. Built before the window is shown and torn
// down after its modal run: the window first, then the tray icon.
//
// Threads: the window's thread runs the engine and the shell. Lookups and
// probes run on engineWork_, mail on the outbox's own thread, a self-test
// on its dialog's; each hands its results back through dispatcher_.
class VigilonProgram {
public:
    explicit VigilonProgram(const ProgramOptions& options = {});
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
    WxDispatcher dispatcher_;
    SystemClock clock_;
    WxPause pause_;
    WxLogViewer logViewer_;  // before the launcher, whose reports may show it
    DesktopLauncher desktopLauncher_;
    ProgramLauncher& launcher_;
    CMonitorDlg* window_;  // a top-level window: destroyed through Destroy()
    WxUserPrompt prompt_;
    WxModelessBoxes problemWindows_;
    ProblemBoxes problemBoxes_;
    PostedProblems problems_;  // from any thread to the boxes
    EventLog eventLog_;
    SystemNetwork network_;
    WorkerThread engineWork_;  // after the network it uses, so it goes first
    WaitingMailFile waitingMail_;
    MailOutbox outbox_;
    WxDesktopNotifier desktopNotices_;
    AlertNoticeDelivery alerts_;  // a desktop notice, then the mail
    MonitorEngine engine_;
    metrics::MetricsService metrics_;
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
