#include "TcpStream.h"

#include "MillisecondsLeft.h"
#include "NetworkStart.h"

namespace vigilon {

// Winsock's stream: the same steps as the POSIX one, with WSAPoll for the
// waits and ioctlsocket for the non-blocking connect. Windows raises no
// signal when a peer drops, and a blocking socket's send and receive are
// only entered once WSAPoll has said they will not block.

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(SOCKET socket, short events, Clock::time_point deadline) {
    WSAPOLLFD wanted{};
    wanted.fd = socket;
    wanted.events = events;
    const int n = ::WSAPoll(&wanted, 1, MillisecondsLeft(deadline));
    return n > 0 && (wanted.revents & (events | POLLHUP)) != 0;
}

bool SetNonBlocking(SOCKET socket, bool on) {
    u_long mode = on ? 1 : 0;
    return ::ioctlsocket(socket, FIONBIO, &mode) == 0;
}

}  // namespace

bool TcpStream::CreateFor(int family) {
    Close();
    if (StartNetwork() != 0) return false;
    // Not inherited by the programs this one starts.
    fd_ = UniqueSocket(
        ::WSASocketW(family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT));
    family_ = family;
    tried_ = false;
    return static_cast<bool>(fd_);
}

void TcpStream::SendAtOnce() {
    BOOL on = TRUE;
    ::setsockopt(fd_.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                 sizeof on);
}

bool TcpStream::ConnectOne(const void* address, unsigned addressLength, Deadline deadline) {
    if (!SetNonBlocking(fd_.Get(), true)) return false;
    if (::connect(fd_.Get(), static_cast<const sockaddr*>(address),
                  static_cast<int>(addressLength)) != 0) {
        if (::WSAGetLastError() != WSAEWOULDBLOCK) return false;
        if (!WaitFor(fd_.Get(), POLLWRNORM, deadline)) return false;
        int error = 0;
        int length = sizeof error;
        if (::getsockopt(fd_.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                         &length) != 0 ||
            error != 0)
            return false;
    }
    return SetNonBlocking(fd_.Get(), false);
}

bool TcpStream::SendAll(std::string_view bytes, Deadline deadline) {
    if (!fd_) return false;
    while (!bytes.empty()) {
        if (!WaitFor(fd_.Get(), POLLWRNORM, deadline)) return false;
        const int chunk = bytes.size() > 65536 ? 65536 : static_cast<int>(bytes.size());
        const int sent = ::send(fd_.Get(), bytes.data(), chunk, 0);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

long TcpStream::Receive(char* buffer, std::size_t size, Deadline deadline) {
    if (!fd_) return -1;
    if (!WaitFor(fd_.Get(), POLLRDNORM, deadline)) return -1;
    const int wanted = size > 65536 ? 65536 : static_cast<int>(size);
    const int got = ::recv(fd_.Get(), buffer, wanted, 0);
    return got >= 0 ? static_cast<long>(got) : -1;
}

void TcpStream::Close() { fd_.Close(); }

}  // namespace vigilon
