#include "PosixProgramLauncher.h"

#include <cerrno>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vigilon {

void PosixProgramLauncher::Launch(const std::vector<std::string>& commandLine) {
    if (commandLine.empty()) return;
    // Built before forking: between fork and exec only async-signal-safe
    // calls are allowed, since the shell process runs other threads.
    std::vector<char*> argv;
    argv.reserve(commandLine.size() + 1);
    for (const std::string& arg : commandLine) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

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
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vigilon
