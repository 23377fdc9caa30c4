#pragma once

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <memory>
#include <string>

#include "PingSession.h"
#include "PingWorker.h"

namespace vigilon::ravelin {

class CRoundTripPanel;

// Ravelin's window: the host, interval and payload, Start and Stop, the live
// graph, the running statistics and one line per request, which can be
// copied and saved as text or CSV. The session holds the run; the requests
// run on the worker's thread and come back here as queued calls, which the
// session drops when they belong to an earlier run. Stop and closing end
// the requests at once.
class CPingFrame : public wxFrame {
public:
    CPingFrame();
    ~CPingFrame() override;

    // Starts pinging host with the interval and payload shown.
    void StartPinging(const wxString& host);
    void StopPinging();
    bool IsPinging() const { return worker.Running(); }

    // For the window tests.
    wxTextCtrl* HostBox() const { return hostBox; }
    wxSpinCtrlDouble* IntervalBox() const { return intervalBox; }
    wxButton* StartButton() const { return startButton; }
    CRoundTripPanel* GraphPanel() const { return graphPanel; }
    const PingSession& Session() const { return session; }

private:
    class WindowEvents;

    void BuildControls();
    void OnStartStop();
    void OnStarted(int run, IpAddress address);
    void OnRecord(int run, const PingRecord& record);
    void OnFailed(int run, const std::string& message);
    void ShowLine(const std::string& line);
    void ShowRunning(bool running);
    void ShowStatistics();
    void CopyLines();
    void SaveAs(bool csv);
    void OnClose(wxCloseEvent& event);

    wxTextCtrl* hostBox = nullptr;
    wxStaticText* addressText = nullptr;
    wxSpinCtrlDouble* intervalBox = nullptr;
    wxSpinCtrl* payloadBox = nullptr;
    wxButton* startButton = nullptr;
    CRoundTripPanel* graphPanel = nullptr;
    wxStaticText* statisticsText = nullptr;
    wxTextCtrl* linesView = nullptr;
    wxTimer clock;

    int linesShown = 0;

    PingSession session;
    std::unique_ptr<WindowEvents> events;
    PingWorker worker;  // last: stopped before anything it reports to goes
};

}  // namespace vigilon::ravelin
