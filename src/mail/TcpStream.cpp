#include "TcpStream.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vigilon {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, for poll; 0 once it has passed.
int MillisecondsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return 0;
    if (left.count() > 1'000'000'000) return 1'000'000'000;
    return static_cast<int>(left.count());
}

// Waits until fd is ready for events or the deadline passes; retries after
// signals. False on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        int n = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (n > 0) return true;
        if (n == 0) return false;
        if (errno != EINTR) return false;
    }
}

bool SetNonBlocking(int fd, bool on) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0) return false;
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace

bool TcpStream::Create() {
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd_ >= 0;
}

bool TcpStream::Connect(const std::string& host, int port, std::chrono::milliseconds limit) {
    if (fd_ < 0 || port <= 0 || port > 65535) return false;
    const auto deadline = Clock::now() + limit;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;

    bool connected = false;
    bool first = true;
    for (addrinfo* a = found; a != nullptr && !connected; a = a->ai_next) {
        // A socket whose connect failed cannot be used for another try.
        if (!first && !Create()) break;
        first = false;
        connected = ConnectOne(a->ai_addr, a->ai_addrlen, deadline);
        if (Clock::now() >= deadline) break;
    }
    ::freeaddrinfo(found);
    return connected;
}

bool TcpStream::ConnectOne(const void* address, unsigned addressLength,
                           Clock::time_point deadline) {
    if (!SetNonBlocking(fd_, true)) return false;
    int rc = ::connect(fd_, static_cast<const sockaddr*>(address), addressLength);
    if (rc != 0) {
        if (errno != EINPROGRESS) return false;
        if (!WaitFor(fd_, POLLOUT, deadline)) return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return false;
    }
    return SetNonBlocking(fd_, false);
}

bool TcpStream::SendAll(std::string_view bytes, std::chrono::milliseconds limit) {
    if (fd_ < 0) return false;
    const auto deadline = Clock::now() + limit;
    while (!bytes.empty()) {
        ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd_, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

long TcpStream::Receive(char* buffer, std::size_t size, Clock::time_point deadline) {
    if (fd_ < 0) return -1;
    for (;;) {
        if (!WaitFor(fd_, POLLIN, deadline)) return -1;
        ssize_t got = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    }
}

void TcpStream::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace vigilon
