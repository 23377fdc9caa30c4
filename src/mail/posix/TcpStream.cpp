#include "TcpStream.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "MillisecondsLeft.h"

namespace vigilon {

namespace {

using Clock = std::chrono::steady_clock;

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

bool TcpStream::CreateFor(int family) {
    Close();
    fd_ = UniqueFd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    family_ = family;
    tried_ = false;
    return static_cast<bool>(fd_);
}

void TcpStream::SendAtOnce() {
    int on = 1;
    ::setsockopt(fd_.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool TcpStream::ConnectOne(const void* address, unsigned addressLength, Deadline deadline) {
    if (!SetNonBlocking(fd_.Get(), true)) return false;
    int rc = ::connect(fd_.Get(), static_cast<const sockaddr*>(address), addressLength);
    if (rc != 0) {
        if (errno != EINPROGRESS) return false;
        if (!WaitFor(fd_.Get(), POLLOUT, deadline)) return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd_.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return false;
    }
    return SetNonBlocking(fd_.Get(), false);
}

bool TcpStream::SendAll(std::string_view bytes, Deadline deadline) {
    if (!fd_) return false;
    while (!bytes.empty()) {
        ssize_t sent = ::send(fd_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd_.Get(), POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

long TcpStream::Receive(char* buffer, std::size_t size, Deadline deadline) {
    if (!fd_) return -1;
    for (;;) {
        if (!WaitFor(fd_.Get(), POLLIN, deadline)) return -1;
        ssize_t got = ::recv(fd_.Get(), buffer, size, MSG_DONTWAIT);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    }
}

void TcpStream::Close() { fd_.Close(); }

}  // namespace vigilon
