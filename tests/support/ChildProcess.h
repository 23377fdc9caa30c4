#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vigilon::test {

// A program run by a test in a working directory of the test's choice,
// with changes to the environment (a value to set, or nullopt to remove)
// and its standard output and error kept in files. Killed by its process
// id if it still runs when this goes.
class ChildProcess {
public:
    using Environment = std::map<std::string, std::optional<std::string>>;

    ChildProcess(const std::vector<std::string>& argv, const std::string& workDir,
                 const Environment& changes, const std::string& outputPrefix)
        : outFile_(outputPrefix + ".out"), errFile_(outputPrefix + ".err") {
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (!changes.contains(text.substr(0, text.find('=')))) env.push_back(text);
        }
        for (const auto& [name, value] : changes)
            if (value) env.push_back(name + "=" + *value);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
        std::vector<char*> args = Pointers(argv), envp = Pointers(env);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        if (Running()) {
            ::kill(pid_, SIGKILL);
            Wait(std::chrono::seconds(5));
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }
    bool Running() {
        Reap(WNOHANG);
        return pid_ > 0 && !status_;
    }
    // The exit status once it has ended within limit; nullopt when it still
    // runs, and -signal when a signal ended it.
    std::optional<int> Wait(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return status_;
    }
    std::string Output() const { return ReadFile(outFile_); }
    std::string Errors() const { return ReadFile(errFile_); }

private:
    static std::vector<char*> Pointers(const std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (const std::string& text : texts)
            pointers.push_back(const_cast<char*>(text.c_str()));
        pointers.push_back(nullptr);
        return pointers;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Reap(int options) {
        if (pid_ <= 0 || status_) return;
        int status = 0;
        if (::waitpid(pid_, &status, options) != pid_) return;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string outFile_, errFile_;
};

}  // namespace vigilon::test
