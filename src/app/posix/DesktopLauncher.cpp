#include "DesktopLauncher.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <mutex>
#include <thread>

#include "DesktopLauncherReports.h"

namespace vigilon {

namespace {

// Built before forking: between fork and exec only async-signal-safe calls
// are allowed, since the shell process runs other threads.
std::vector<char*> ArgumentVector(const std::vector<std::string>& commandLine) {
    std::vector<char*> argv;
    argv.reserve(commandLine.size() + 1);
    for (const std::string& arg : commandLine)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Waits for the child; true when it ended by exit status 0.
bool ReapSucceeded(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void DesktopLauncher::Launch(const std::vector<std::string>& commandLine) {
    if (commandLine.empty()) return;
    std::vector<char*> argv = ArgumentVector(commandLine);

    pid_t child = ::fork();
    if (child < 0) return;
    if (child == 0) {
        // The intermediate child only forks the program and leaves at once,
        // so the program is re-parented and reaped by init.
        ::setsid();
        if (::fork() == 0) {
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        ::_exit(0);
    }
    // Reaps the intermediate child, which exits right away.
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
}

void DesktopLauncher::LaunchWatched(const std::vector<std::string>& commandLine,
                                    std::function<void()> whenFailed) {
    if (commandLine.empty()) {
        reports_->Post(reports_, std::move(whenFailed));
        return;
    }
    std::vector<char*> argv = ArgumentVector(commandLine);
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        ::execvp(argv[0], argv.data());
        ::_exit(127);  // not found or not runnable: a failure like any other
    }
    if (child < 0) {
        reports_->Post(reports_, std::move(whenFailed));
        return;
    }
    // The desktop's opener may stay until the document's viewer closes: it
    // is reaped on a thread of its own, which also outlives the launcher.
    std::thread([child, reports = reports_, whenFailed = std::move(whenFailed)]() mutable {
        if (!ReapSucceeded(child)) reports->Post(reports, std::move(whenFailed));
    }).detach();
}

void DesktopLauncher::OpenWatched(const std::string& documentOrAddress,
                                  std::function<void()> whenFailed) {
    LaunchWatched({"xdg-open", documentOrAddress}, std::move(whenFailed));
}

}  // namespace vigilon
