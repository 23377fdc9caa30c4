#pragma once

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PingStatistics.h"
#include "PingWorker.h"
#include "RoundTripGraph.h"

namespace vigilon::ravelin {

class CRoundTripPanel;

// Ravelin's window: the host, interval and payload, Start and Stop, the live
// graph, the running statistics and one line per request, which can be
// copied and saved as text or CSV. The requests run on the worker's thread
// and come back here as queued calls; Stop and closing end them at once.
class CPingFrame : public wxFrame {
public:
    static constexpr double kShortestInterval = 0.2;
    static constexpr int kLargestPayload = 1012;

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
    const std::vector<std::string>& Lines() const { return lines; }
    const std::vector<PingRecord>& Records() const { return records; }
    wxString LinesText() const;

private:
    class WindowEvents;

    void BuildControls();
    void OnStartStop();
    void OnStarted(in_addr address, bool datagramSocket);
    void OnRecord(const PingRecord& record);
    void OnFailed(const std::string& message);
    void AddLine(const std::string& line);
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

    std::string host;
    int dataSize = 0;
    std::int64_t runStartUs = 0;
    std::vector<std::string> lines;
    int linesShown = 0;
    std::vector<PingRecord> records;
    PingStatistics statistics;
    RoundTripGraph graph;

    // Each run has a number, so that calls still queued from an earlier run
    // are known and dropped.
    int runNumber = 0;
    std::unique_ptr<WindowEvents> events;
    PingWorker worker;  // last: stopped before anything it reports to goes
};

}  // namespace vigilon::ravelin
