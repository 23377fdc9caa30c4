#pragma once

#include <memory>

#include "Dispatcher.h"
#include "ProgramLauncher.h"

namespace vigilon {

// Starts programs found on PATH. Launch hands the program to init through
// an intermediate child, so that it is never waited for and leaves no
// zombie; its failures are silent. LaunchWatched keeps the program as a
// child that a thread of its own reaps, and reports a failure through the
// window's dispatcher; reports still on their way when the launcher goes
// are dropped.
class PosixProgramLauncher : public ProgramLauncher {
public:
    // windowThread outlives the launcher.
    explicit PosixProgramLauncher(Dispatcher& windowThread);
    ~PosixProgramLauncher() override;
    PosixProgramLauncher(const PosixProgramLauncher&) = delete;
    PosixProgramLauncher& operator=(const PosixProgramLauncher&) = delete;

    void Launch(const std::vector<std::string>& commandLine) override;
    void LaunchWatched(const std::vector<std::string>& commandLine,
                       std::function<void()> whenFailed) override;

private:
    struct Reports;
    std::shared_ptr<Reports> reports_;
};

}  // namespace vigilon
