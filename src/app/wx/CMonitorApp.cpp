#include "CMonitorApp.h"

#include "VigilonProgram.h"

namespace vigilon::app {

// The program takes nothing from its command line.
bool CMonitorApp::OnInit() {
    SetAppName("Vigilon");  // desktop notifications carry it
    SetExitOnFrameDelete(false);
    return true;
}

// The main window's modal run is the whole life of the process; when it
// ends, the program is torn down and the application ends with it. (Ending
// in OnInit instead would make wx report a failed start.)
int CMonitorApp::OnRun() {
    {
        VigilonProgram program;
        program.Run();
    }
    // The window's deletion was deferred to the loop that just ended.
    DeletePendingObjects();
    return 0;
}

}  // namespace vigilon::app
