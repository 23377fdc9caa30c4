#include "PeerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "GuiSession.h"

extern char** environ;

namespace vigilon::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

PeerProcess::Line SplitFields(const std::string& line) {
    PeerProcess::Line fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            fields.emplace_back();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += line[i];
        }
    }
    return fields;
}

}  // namespace

PeerProcess::PeerProcess(const std::string& script, const std::vector<std::string>& arguments) {
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0) return;
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return;
    }
    std::vector<std::string> argv{kPython, std::string(VIGILON_PEERS_DIR) + "/" + script};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& argument : argv)
        args.push_back(argument.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    if (posix_spawn(&pid_, kPython, &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    toPeer_ = input[1];
    fromPeer_ = output[0];
    fcntl(fromPeer_, F_SETFL, O_NONBLOCK);
    ready_ = pid_ > 0 && Take("ready", std::chrono::seconds(20)).has_value();
}

PeerProcess::~PeerProcess() {
    if (toPeer_ >= 0) close(toPeer_);  // end of input: the peer leaves by itself
    if (pid_ > 0) {
        int status = 0;
        for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
    }
    if (fromPeer_ >= 0) close(fromPeer_);
}

void PeerProcess::Send(const std::string& command) {
    const std::string line = command + "\n";
    if (toPeer_ >= 0 &&
        write(toPeer_, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        lastError_ = "the peer takes no more commands";
}

void PeerProcess::ReadAvailable() {
    char buffer[4096];
    ssize_t got = 0;
    while (fromPeer_ >= 0 && (got = read(fromPeer_, buffer, sizeof buffer)) > 0)
        pending_.append(buffer, got);
    std::size_t end = 0;
    while ((end = pending_.find('\n')) != std::string::npos) {
        lines_.push_back({SplitFields(pending_.substr(0, end))});
        pending_.erase(0, end + 1);
    }
}

std::optional<PeerProcess::Line> PeerProcess::Take(const std::string& tag,
                                                   std::chrono::milliseconds limit) {
    std::optional<Line> found;
    PumpUntil(
        [&] {
            ReadAvailable();
            for (Entry& line : lines_) {
                if (line.taken) continue;
                if (line.fields.front() == tag || line.fields.front() == "error") {
                    line.taken = true;
                    if (line.fields.front() == tag) {
                        found = line.fields;
                    } else {
                        lastError_.clear();
                        for (const std::string& field : line.fields)
                            lastError_ += field + " ";
                    }
                    return true;
                }
            }
            return false;
        },
        limit);
    return found;
}

std::optional<PeerProcess::Line> PeerProcess::Ask(const std::string& command) {
    Send(command);
    return Take(command.substr(0, command.find(' ')));
}

std::vector<PeerProcess::Line> PeerProcess::Received(const std::string& tag) {
    ReadAvailable();
    std::vector<Line> found;
    for (const auto& line : lines_)
        if (line.fields.front() == tag) found.push_back(line.fields);
    return found;
}

}  // namespace vigilon::test
