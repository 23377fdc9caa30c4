#include "CMonitorApp.h"

#include <wx/init.h>

#include "HtmlHelpLoad.h"
#include "MessageBox.h"
#include "ProgramStart.h"
#include "VigilonProgram.h"

namespace vigilon::app {

// The command line was read before the toolkit started (VigilonMain.cpp).
bool CMonitorApp::OnInit() {
    SetAppName("Vigilon");  // desktop notifications carry it
    SetExitOnFrameDelete(false);
    // No window of the program handles idle or update-UI events; left at
    // wx's default, both go to every window after each event the window
    // gets, several times a second while it monitors.
    wxIdleEvent::SetMode(wxIDLE_PROCESS_SPECIFIED);
    wxUpdateUIEvent::SetMode(wxUPDATE_UI_PROCESS_SPECIFIED);
    return true;
}

// The main window's modal run is the whole life of the process; when it
// ends, the program is torn down and the application ends with it. (Ending
// in OnInit instead would make wx report a failed start.)
int CMonitorApp::OnRun() {
    if (!refusal_.empty()) {
        // The other copy's window cannot be raised from here (no portable
        // way on X11 or Wayland), so the user is told where to find it.
        MessageBox box(nullptr, refusal_, kAppName, MessageIcon::Exclamation,
                       MessageBox::Buttons::Ok);
        box.ShowModal();
        return kAlreadyRunningExitCode;
    }
    {
        ProgramOptions options;
        options.metricsListen = metricsListen_;
        options.metricsFile = metricsFile_;
        VigilonProgram program(options);
        program.Run();
    }
    // The window's deletion was deferred to the loop that just ended; the
    // help viewer's too, and its module goes after it.
    DeletePendingObjects();
    UnloadHtmlHelp();
    return 0;
}

int RunMonitorApp(const StartPlan& plan, char* programName) {
    wxApp::SetInstance(plan.next == StartPlan::Next::TellRunning
                           ? new CMonitorApp(plan.refusal)
                           : new CMonitorApp(plan.line.metricsListen, plan.line.metricsFile));
    int toolkitArgc = 1;
    char* toolkitArgv[] = {programName, nullptr};
    return wxEntry(toolkitArgc, toolkitArgv);
}

}  // namespace vigilon::app
