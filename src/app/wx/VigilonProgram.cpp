#include "VigilonProgram.h"

#include "ChooseTrayBackend.h"
#include "DesktopShellServices.h"
#include "LogLine.h"

namespace vigilon::app {

VigilonProgram::VigilonProgram(const ProgramOptions& options)
    : desktopLauncher_(dispatcher_),
      launcher_(options.launcher != nullptr ? *options.launcher : desktopLauncher_),
      window_(new CMonitorDlg),
      prompt_(window_),
      problemBoxes_(problemWindows_),
      problems_(dispatcher_, problemBoxes_),
      eventLog_(kLogFileName, problems_, launcher_, clock_, &logViewer_),
      engineWork_(dispatcher_, "engine-work"),
      waitingMail_(kWaitingMailFileName),
      outbox_(dispatcher_, waitingMail_, problems_),
      alerts_(outbox_, desktopNotices_),
      engine_({window_->WindowTimers(), window_->Display(), network_, engineWork_, alerts_,
               eventLog_, clock_, pause_, problems_}),
      metrics_(problems_),
      settingsDialogs_({prompt_, eventLog_, network_}),
      settingsSaver_(kSettingsFileName, problems_),
      settingsEditor_(engine_, settingsDialogs_, settingsSaver_),
      editing_(options.editing != nullptr ? *options.editing : settingsEditor_),
      services_(
          std::make_unique<DesktopShellServices>(window_, launcher_, prompt_, options.helpFolder)),
      trayBackend_(ChooseTrayBackend()),
      shell_({engine_, window_->Display(), *window_, prompt_, problems_, editing_, eventLog_,
              *services_, icmp_, *trayBackend_}) {
    window_->Attach(&engine_, &shell_);
    // Monitoring goes on without metrics when the endpoint cannot listen;
    // the user is told in a box.
    if (const std::string problem = metrics_.Start(options.metricsListen, options.metricsFile);
        !problem.empty())
        problems_.Report("The metrics cannot be served: " + problem, MessageIcon::Exclamation);
    engine_.Observe(metrics_.Observer());
}

VigilonProgram::~VigilonProgram() {
    engine_.Observe(nullptr);
    window_->Attach(nullptr, nullptr);
    window_->Hide();
    window_->Destroy();
}

StartupOutcome VigilonProgram::Start() {
    const StartupOutcome outcome = shell_.InitMainWindow();
    if (outcome != StartupOutcome::Ended) window_->Show();
    return outcome;
}

void VigilonProgram::Run() {
    Start();
    window_->RunModal();
}

}  // namespace vigilon::app
