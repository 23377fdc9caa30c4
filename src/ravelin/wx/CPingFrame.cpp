#include "CPingFrame.h"

#include <wx/clipbrd.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stdpaths.h>

#include "CRoundTripPanel.h"
#include "RavelinPicture.h"

namespace vigilon::ravelin {

namespace {

constexpr int kClockMs = 250;
// The view shows the newest lines; copying takes all the session keeps.
constexpr int kMostLinesShown = 5000;
constexpr int kLinesDroppedAtOnce = 1000;

}  // namespace

// Hands what the worker tells over to the window's thread as queued calls.
class CPingFrame::WindowEvents : public PingEvents {
public:
    explicit WindowEvents(CPingFrame* frame) : frame(frame) {}

    void OnStarted(const IpAddress& address, bool) override {
        frame->CallAfter(&CPingFrame::OnStarted, run, address);
    }
    void OnRecord(const PingRecord& record) override {
        frame->CallAfter(&CPingFrame::OnRecord, run, record);
    }
    void OnFailed(const std::string& message) override {
        frame->CallAfter(&CPingFrame::OnFailed, run, message);
    }

    // The number of the run going: written only while none goes, read by
    // the run's thread.
    int run = 0;

private:
    CPingFrame* frame;
};

CPingFrame::CPingFrame()
    : wxFrame(nullptr, wxID_ANY, "Ravelin"),
      clock(this),
      events(std::make_unique<WindowEvents>(this)),
      worker(*events) {
    SetIcons(RavelinIcons());
    BuildControls();
    Bind(wxEVT_CLOSE_WINDOW, &CPingFrame::OnClose, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        session.Tick();
        graphPanel->Refresh();
    });
    ShowStatistics();
}

CPingFrame::~CPingFrame() { worker.Stop(); }

void CPingFrame::BuildControls() {
    auto* controls = new wxBoxSizer(wxHORIZONTAL);
    auto label = [this, controls](const wxString& text) {
        controls->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                      4);
    };
    label("&Host:");
    hostBox = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, FromDIP(wxSize(180, -1)),
                             wxTE_PROCESS_ENTER);
    hostBox->SetHint("name or address");
    controls->Add(hostBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    addressText = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, FromDIP(wxSize(110, -1)));
    controls->Add(addressText, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    label("&Interval (s):");
    intervalBox = new wxSpinCtrlDouble(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                       wxSP_ARROW_KEYS, PingSession::kShortestInterval,
                                       PingSession::kLongestInterval, 1.0, 0.1);
    intervalBox->SetDigits(1);
    controls->Add(intervalBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    label("&Payload (bytes):");
    payloadBox = new wxSpinCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                wxSP_ARROW_KEYS, 0, PingSession::kLargestPayload, 56);
    controls->Add(payloadBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    startButton = new wxButton(this, wxID_ANY, "&Start");
    controls->Add(startButton, 0, wxALIGN_CENTER_VERTICAL);

    graphPanel = new CRoundTripPanel(this, session.Graph());
    statisticsText = new wxStaticText(this, wxID_ANY, "");
    linesView = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, FromDIP(wxSize(-1, 200)),
                               wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP);
    linesView->SetFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* copyButton = new wxButton(this, wxID_COPY, "&Copy");
    auto* saveTextButton = new wxButton(this, wxID_ANY, "Save as &Text...");
    auto* saveCsvButton = new wxButton(this, wxID_ANY, "Save as CS&V...");
    buttons->Add(copyButton, 0, wxRIGHT, 6);
    buttons->Add(saveTextButton, 0, wxRIGHT, 6);
    buttons->Add(saveCsvButton);

    auto* layout = new wxBoxSizer(wxVERTICAL);
    layout->Add(controls, 0, wxALL, 8);
    layout->Add(graphPanel, 3, wxEXPAND | wxLEFT | wxRIGHT, 8);
    layout->Add(statisticsText, 0, wxEXPAND | wxALL, 8);
    layout->Add(linesView, 2, wxEXPAND | wxLEFT | wxRIGHT, 8);
    layout->Add(buttons, 0, wxALL, 8);
    SetSizerAndFit(layout);
    SetSize(FromDIP(wxSize(900, 640)));

    hostBox->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        if (!IsPinging()) OnStartStop();
    });
    startButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStartStop(); });
    copyButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { CopyLines(); });
    saveTextButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SaveAs(false); });
    saveCsvButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SaveAs(true); });
    SetDefaultItem(startButton);
    hostBox->SetFocus();
}

void CPingFrame::OnStartStop() {
    if (IsPinging())
        StopPinging();
    else
        StartPinging(hostBox->GetValue());
}

void CPingFrame::StartPinging(const wxString& hostText) {
    StopPinging();
    std::optional<PingSettings> settings =
        session.Begin(hostText.utf8_string(), intervalBox->GetValue(), payloadBox->GetValue());
    if (!settings) {
        hostBox->ChangeValue("");
        hostBox->SetFocus();
        return;
    }
    settings->programPath = wxStandardPaths::Get().GetExecutablePath().utf8_string();
    const wxString host = wxString::FromUTF8(session.Host());
    hostBox->ChangeValue(host);
    linesShown = 0;
    linesView->Clear();
    addressText->SetLabel("");
    ShowStatistics();
    SetTitle("Ravelin - " + host);

    events->run = session.RunNumber();
    worker.Start(*settings);
    ShowRunning(true);
}

void CPingFrame::StopPinging() {
    worker.Stop();
    ShowRunning(false);
}

void CPingFrame::ShowRunning(bool running) {
    startButton->SetLabel(running ? "S&top" : "&Start");
    hostBox->Enable(!running);
    intervalBox->Enable(!running);
    payloadBox->Enable(!running);
    if (running)
        clock.Start(kClockMs);
    else
        clock.Stop();
}

void CPingFrame::OnStarted(int run, IpAddress address) {
    const std::optional<std::string> line = session.Started(run, address);
    if (!line) return;
    addressText->SetLabel(wxString::FromUTF8("\u2192 " + session.Address()));
    ShowLine(*line);
}

void CPingFrame::OnRecord(int run, const PingRecord& record) {
    const std::optional<std::string> line = session.Recorded(run, record);
    if (!line) return;
    ShowLine(*line);
    ShowStatistics();
    graphPanel->Refresh();
}

void CPingFrame::OnFailed(int run, const std::string& message) {
    const std::optional<std::string> line = session.Failed(run, message);
    if (!line) return;
    StopPinging();
    ShowLine(*line);
    wxMessageBox(wxString::FromUTF8(message), "Ravelin", wxOK | wxICON_ERROR, this);
}

void CPingFrame::ShowLine(const std::string& line) {
    if (linesShown >= kMostLinesShown) {
        linesView->Remove(0, linesView->XYToPosition(0, kLinesDroppedAtOnce));
        linesShown -= kLinesDroppedAtOnce;
    }
    linesView->AppendText((linesShown > 0 ? "\n" : "") + wxString::FromUTF8(line));
    ++linesShown;
}

void CPingFrame::ShowStatistics() {
    wxString text;
    for (const std::string& line : SummaryLines(session.Statistics()))
        text += (text.empty() ? "" : "    ") + wxString::FromUTF8(line);
    statisticsText->SetLabel(text);
}

void CPingFrame::CopyLines() {
    // A selection in the lines is copied as it is; otherwise all of them.
    long from = 0, to = 0;
    linesView->GetSelection(&from, &to);
    const wxString text =
        from < to ? linesView->GetStringSelection() : wxString::FromUTF8(session.LinesText());
    if (!wxTheClipboard->Open()) return;
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

void CPingFrame::SaveAs(bool csv) {
    const std::string& host = session.Host();
    const wxString suggested =
        "ravelin-" + (host.empty() ? wxString("run") : wxString::FromUTF8(host));
    wxFileDialog dialog(
        this, csv ? "Save as CSV" : "Save as Text", "", suggested + (csv ? ".csv" : ".txt"),
        csv ? "CSV files (*.csv)|*.csv|All files|*" : "Text files (*.txt)|*.txt|All files|*",
        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return;
    const PingSession::SaveReport report =
        session.Save(dialog.GetPath().utf8_string(), csv ? ExportFormat::Csv : ExportFormat::Text);
    if (report.message.empty()) return;
    wxMessageBox(wxString::FromUTF8(report.message), "Ravelin",
                 wxOK | (report.saved ? wxICON_WARNING : wxICON_ERROR), this);
}

void CPingFrame::OnClose(wxCloseEvent& event) {
    worker.Stop();
    clock.Stop();
    event.Skip();  // the frame is destroyed, and the program ends with it
}

}  // namespace vigilon::ravelin
