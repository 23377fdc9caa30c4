#include "ScriptedSmtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vigilon::test {

namespace {

// Bounds every wait of the server, so that a broken client fails its test
// instead of hanging the suite.
constexpr auto kServerPatience = std::chrono::seconds(10);
constexpr auto kPieceGap = std::chrono::milliseconds(30);

}  // namespace

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<Step> script, const std::string& address, int port)
    : script_(std::move(script)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(listenFd_, 1);
    socklen_t length = sizeof sa;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &length);
    port_ = ntohs(sa.sin_port);
    giveUp_ = std::chrono::steady_clock::now() + kServerPatience;
    thread_ = std::thread([this] { Serve(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    stop_ = true;
    Finish();
    ::close(listenFd_);
}

void ScriptedSmtpServer::Finish() {
    if (thread_.joinable()) thread_.join();
}

std::string ScriptedSmtpServer::Received() {
    Finish();
    return received_;
}

std::vector<std::string> ScriptedSmtpServer::Segments() {
    Finish();
    return segments_;
}

bool ScriptedSmtpServer::Accepted() {
    stop_ = true;
    Finish();
    return accepted_;
}

void ScriptedSmtpServer::Serve() {
    int fd = -1;
    while (fd < 0 && !stop_ && std::chrono::steady_clock::now() < giveUp_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    }
    if (fd < 0) return;
    accepted_ = true;
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);

    bool open = true;
    for (const Step& step : script_) {
        if (step.kind == Step::Say) {
            for (std::size_t i = 0; i < step.pieces.size() && open; ++i) {
                if (i > 0) std::this_thread::sleep_for(kPieceGap);
                open = ::send(fd, step.pieces[i].data(), step.pieces[i].size(), MSG_NOSIGNAL) >= 0;
            }
        } else if (step.kind == Step::Hear) {
            open = ReadUntil(fd, "\r\n");
        } else if (step.kind == Step::HearData) {
            open = ReadUntil(fd, "\r\n.\r\n");
        } else if (step.kind == Step::Pause) {
            std::this_thread::sleep_for(step.pause);
        } else {
            open = false;
        }
        if (!open) break;
    }
    // Whatever the client still sends (a QUIT from its destructor, or the
    // commands a stalled server never answers) is recorded until it hangs up.
    while (open) open = ReadMore(fd);
    ::close(fd);
}

bool ScriptedSmtpServer::ReadUntil(int fd, const std::string& end) {
    for (;;) {
        std::size_t found = received_.find(end, consumed_);
        if (found != std::string::npos) {
            consumed_ = found + end.size();
            return true;
        }
        if (!ReadMore(fd)) return false;
    }
}

bool ScriptedSmtpServer::ReadMore(int fd) {
    while (std::chrono::steady_clock::now() < giveUp_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        char chunk[4096];
        ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        received_.append(chunk, static_cast<std::size_t>(got));
        segments_.emplace_back(chunk, static_cast<std::size_t>(got));
        return true;
    }
    return false;
}

}  // namespace vigilon::test
