#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>
#include <string>

namespace vigilon::test {

// The tests run as root, whom file permissions do not stop; the cases
// where they matter run as nobody/nogroup instead.
inline constexpr uid_t kNobody = 65534;

inline bool IsRoot() { return ::geteuid() == 0; }

// Who runs the unprivileged cases: nobody under root, the user otherwise.
inline uid_t Runner() { return IsRoot() ? kNobody : ::geteuid(); }

// Gives path (not a link's target) to the runner, as the runner's own file.
inline bool GiveToRunner(const std::string& path) {
    return !IsRoot() || ::lchown(path.c_str(), kNobody, kNobody) == 0;
}

// Runs body in a child process as the runner and returns the text body
// returned. The child leaves by _exit, so none of the parent's tests or
// handlers run twice; a crash comes back as a text that no check expects.
inline std::string RunUnprivileged(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    pid_t child = ::fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        ::close(channel[0]);
        std::string report;
        if (IsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            report = "cannot become nobody";
        } else {
            report = body();
        }
        for (std::size_t done = 0; done < report.size();) {
            ssize_t written = ::write(channel[1], report.data() + done, report.size() - done);
            if (written <= 0) break;
            done += static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "child died: " + report;
    return report;
}

}  // namespace vigilon::test
