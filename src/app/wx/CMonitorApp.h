#pragma once

#include <string>

#include <wx/app.h>

#include "ProgramStart.h"

namespace vigilon::app {

// The application: runs the main window modally for the life of the process.
class CMonitorApp : public wxApp {
public:
    CMonitorApp() = default;
    // The metrics options of the command line (--metrics-listen, --metrics-file).
    CMonitorApp(std::string metricsListen, std::string metricsFile)
        : metricsListen_(std::move(metricsListen)), metricsFile_(std::move(metricsFile)) {}
    // The application of a second copy, which only shows refusal (why it
    // does not start: another copy holds the data folder) and ends.
    explicit CMonitorApp(std::string refusal) : refusal_(std::move(refusal)) {}

    bool OnInit() override;
    int OnRun() override;

private:
    std::string refusal_;
    std::string metricsListen_;
    std::string metricsFile_;
};

// Runs the window program as the start plan says (monitoring, or the
// second copy's refusal) until it ends. The toolkit gets the program's
// name only: the options are ours.
int RunMonitorApp(const StartPlan& plan, char* programName);

}  // namespace vigilon::app
