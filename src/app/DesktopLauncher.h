#pragma once

#include <memory>

#include "Dispatcher.h"
#include "ProgramLauncher.h"

namespace vigilon {

// Starts programs and opens documents the way the desktop does (one file
// for each platform). Launch hands the program over so that it is never
// waited for; its failures are silent. LaunchWatched and OpenWatched watch
// the program or the opening on a thread of their own and report a failure
// through the window's dispatcher; reports still on their way when the
// launcher goes are dropped.
class DesktopLauncher : public ProgramLauncher {
public:
    // windowThread outlives the launcher.
    explicit DesktopLauncher(Dispatcher& windowThread);
    ~DesktopLauncher() override;
    DesktopLauncher(const DesktopLauncher&) = delete;
    DesktopLauncher& operator=(const DesktopLauncher&) = delete;

    void Launch(const std::vector<std::string>& commandLine) override;
    void LaunchWatched(const std::vector<std::string>& commandLine,
                       std::function<void()> whenFailed) override;
    void OpenWatched(const std::string& documentOrAddress,
                     std::function<void()> whenFailed) override;

    struct Reports;

private:
    std::shared_ptr<Reports> reports_;
};

}  // namespace vigilon
