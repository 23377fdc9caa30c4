#pragma once

#include "MonitorPorts.h"
#include "ProgramLauncher.h"

namespace vigilon::app {

// The headless program shows nothing: the log, standard error and the
// metrics tell what the run does.
class NoDisplay : public MonitorDisplay {
public:
    void ShowLamp(Lamp, bool) override {}
    void SetCaption(const std::string&) override {}
    void SetToggleButtonText(const std::string&) override {}
    void EnableStartStop(bool, bool) override {}
    void SetProgress(int) override {}
    void Refresh(const MonitorSettings&, const MonitorRun&) override {}
    void SetTrayState(TrayState) override {}
    void HideWindow() override {}
    void SetMenuChecks(bool, bool) override {}
};

// Nor does it start a program: only the window's commands show the log in
// another one, and without a display there is nothing to show it on.
class NoLauncher : public ProgramLauncher {
public:
    void Launch(const std::vector<std::string>&) override {}
    void LaunchWatched(const std::vector<std::string>&, std::function<void()>) override {}
    void OpenWatched(const std::string&, std::function<void()>) override {}
};

}  // namespace vigilon::app
