#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vigilon {

// Starts another program (an editor, a browser, a companion tool) without
// waiting for it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Whether the program started is deliberately not reported.
    virtual void Launch(const std::vector<std::string>& commandLine) = 0;
    // Also without waiting; when the program cannot be started, or ends
    // with a status other than 0, whenFailed runs later on the window's
    // thread. A program that keeps running is never waited for by anyone
    // who has to answer the user.
    virtual void LaunchWatched(const std::vector<std::string>& commandLine,
                               std::function<void()> whenFailed) = 0;
    // Shows a document or a web address in the desktop's own handler for
    // it, watched like LaunchWatched: whenFailed runs when there is none.
    virtual void OpenWatched(const std::string& documentOrAddress,
                             std::function<void()> whenFailed) = 0;
};

}  // namespace vigilon
