#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ProgramLauncher.h"

namespace vigilon::test {

// Records what is launched. A watched launch keeps its failure report,
// which the test sends, as the window's thread would, with FailWatched.
class FakeLauncher : public ProgramLauncher {
public:
    void Launch(const std::vector<std::string>& commandLine) override {
        launched.push_back(commandLine);
    }
    void LaunchWatched(const std::vector<std::string>& commandLine,
                       std::function<void()> whenFailed) override {
        launched.push_back(commandLine);
        failureReports.push_back(std::move(whenFailed));
    }
    void OpenWatched(const std::string& documentOrAddress,
                     std::function<void()> whenFailed) override {
        opened.push_back(documentOrAddress);
        failureReports.push_back(std::move(whenFailed));
    }
    // Every watched program and opening so far failed.
    void FailWatched() {
        std::vector<std::function<void()>> reports;
        reports.swap(failureReports);
        for (auto& report : reports)
            if (report) report();
    }

    std::vector<std::vector<std::string>> launched;
    std::vector<std::string> opened;
    std::vector<std::function<void()>> failureReports;
};

}  // namespace vigilon::test
