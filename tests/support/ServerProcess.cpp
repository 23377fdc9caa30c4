#include "ServerProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "UniqueFd.h"

namespace vigilon::test {

namespace {

constexpr auto kStartPatience = std::chrono::seconds(20);

// address:port of either family ("127.0.0.1", "::1").
struct LoopbackAddress {
    LoopbackAddress(const std::string& address, int port) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&socket);
        if (::inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(static_cast<uint16_t>(port));
            length = sizeof *v6;
            return;
        }
        auto* v4 = reinterpret_cast<sockaddr_in*>(&socket);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, address.c_str(), &v4->sin_addr);
        length = sizeof *v4;
    }
    sockaddr* Get() { return reinterpret_cast<sockaddr*>(&socket); }

    sockaddr_storage socket{};
    socklen_t length = 0;
};

bool Accepts(const std::string& address, int port) {
    LoopbackAddress sa(address, port);
    const UniqueFd fd(::socket(sa.socket.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return ::connect(fd.Get(), sa.Get(), sa.length) == 0;
}

}  // namespace

int FreePort(const std::string& address) {
    LoopbackAddress sa(address, 0);
    const UniqueFd fd(::socket(sa.socket.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ::bind(fd.Get(), sa.Get(), sa.length);
    ::getsockname(fd.Get(), sa.Get(), &sa.length);
    return ntohs(reinterpret_cast<sockaddr_in*>(&sa.socket)->sin_port);  // same place in both
}

bool ServerProcess::Start(const std::vector<std::string>& argv, const std::string& address,
                          int port, const std::string& logFile) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (logFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    if (::posix_spawn(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pid_ <= 0) return false;

    const auto giveUp = std::chrono::steady_clock::now() + kStartPatience;
    while (std::chrono::steady_clock::now() < giveUp) {
        if (Accepts(address, port)) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {  // exited early
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void ServerProcess::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

}  // namespace vigilon::test
