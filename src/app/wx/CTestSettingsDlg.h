#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <memory>

#include "LogWriter.h"
#include "MonitorPorts.h"
#include "OutsideClose.h"
#include "PostedSelfTestView.h"
#include "SettingsSelfTest.h"
#include "WorkerThread.h"
#include "WxDispatcher.h"

namespace vigilon::app {

// "Testing Your Settings" (template 135): half a second after it opens it
// runs the self-test once, showing each row as its test ends; "&Done"
// waits for the last row. The tests run on a worker, so the program's
// windows go on answering and monitoring goes on meanwhile.
class CTestSettingsDlg : public wxDialog, public SelfTestView {
public:
    static constexpr int kStartTimerId = 103;
    static constexpr int kStartDelayMs = 500;

    CTestSettingsDlg(wxWindow* parent, const SelfTestInputs& inputs, NetworkProbes& network,
                     LogWriter& eventLog);

    // SelfTestView
    void BeginRun() override;
    void ShowResults(const SelfTestResults& results) override;
    void EndRun() override;

    const SelfTestResults& Results() const { return results_; }
    // Closes the dialog as Escape does; during the run, as soon as it has
    // ended, since a test cannot be cut short.
    void RequestClose();

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnStartTimer(wxTimerEvent& event);

    SelfTestInputs inputs_;
    SettingsSelfTest selfTest_;
    SelfTestResults results_;
    WxDispatcher windowThread_;
    PostedSelfTestView postedView_{windowThread_, *this};
    // Last: going first, it waits for a run in hand, which still uses the rest.
    std::unique_ptr<WorkerThread> worker_;
    wxTimer startTimer_;
    bool busy_ = false;
    OutsideClose outsideClose_;
};

}  // namespace vigilon::app
