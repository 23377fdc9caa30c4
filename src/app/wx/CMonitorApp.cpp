#include "CMonitorApp.h"

namespace vigilon::app {

bool CMonitorApp::OnInit() {
    // The main window is not built yet: nothing to run.
    return false;
}

}  // namespace vigilon::app
