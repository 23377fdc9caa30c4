#pragma once

#include <wx/app.h>

namespace vigilon::app {

// The application: runs the main window modally for the life of the process.
class CMonitorApp : public wxApp {
public:
    bool OnInit() override;
    int OnRun() override;
};

}  // namespace vigilon::app
