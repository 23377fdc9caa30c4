#include "RealSmtpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace vigilon::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr auto kStartPatience = std::chrono::seconds(20);

sockaddr_in LoopbackAddress(const std::string& address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    return sa;
}

int FreePort(const std::string& address) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = LoopbackAddress(address, 0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t length = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
    ::close(fd);
    return ntohs(sa.sin_port);
}

bool Accepts(const std::string& address, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = LoopbackAddress(address, port);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    ::close(fd);
    return ok;
}

std::string Unfold(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

}  // namespace

RealSmtpServer::RealSmtpServer(const std::string& address, int port)
    : address_(address), port_(port != 0 ? port : FreePort(address)) {
    char dirTemplate[] = "/tmp/vigilon-maildir-XXXXXX";
    if (::mkdtemp(dirTemplate) == nullptr) return;
    mailDir_ = dirTemplate;
    const std::string listen = address_ + ":" + std::to_string(port_);
    const std::string box = mailDir_ + "/box";
    std::vector<std::string> args = {kPython, "-m", "aiosmtpd", "-n", "-l", listen,
                                     "-c", "aiosmtpd.handlers.Mailbox", box};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (::posix_spawn(&pid_, kPython, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ready_ = pid_ > 0 && WaitUntilAccepting();
}

bool RealSmtpServer::WaitUntilAccepting() {
    const auto giveUp = std::chrono::steady_clock::now() + kStartPatience;
    while (std::chrono::steady_clock::now() < giveUp) {
        if (Accepts(address_, port_)) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {  // exited early
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

RealSmtpServer::~RealSmtpServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (!mailDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(mailDir_, ignored);
    }
}

std::vector<std::string> RealSmtpServer::Messages() const {
    std::vector<std::string> messages;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(mailDir_ + "/box/new", error)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        messages.push_back(Unfold(text.str()));
    }
    return messages;
}

std::string HeaderValue(const std::string& message, const std::string& name) {
    std::istringstream lines(message);
    std::string line;
    const std::string prefix = name + ": ";
    while (std::getline(lines, line) && !line.empty()) {
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    }
    return "";
}

std::string BodyOf(const std::string& message) {
    const std::size_t end = message.find("\n\n");
    return end == std::string::npos ? "" : message.substr(end + 2);
}

}  // namespace vigilon::test
