#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace vigilon::test {

// The sockets of the tests' scripted SMTP peer: one header for each platform.
using PeerSocket = int;
inline constexpr PeerSocket kNoPeerSocket = -1;

// A listening socket on address and port (0: any free one), bound port given back.
inline PeerSocket ListenOn(const std::string& address, int port, int& boundPort) {
    PeerSocket listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    ::bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(listener, 1);
    socklen_t length = sizeof sa;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&sa), &length);
    boundPort = ntohs(sa.sin_port);
    return listener;
}

inline bool WaitReadable(PeerSocket socket, int milliseconds) {
    pollfd p{socket, POLLIN, 0};
    return ::poll(&p, 1, milliseconds) > 0;
}

inline PeerSocket AcceptPeer(PeerSocket listener) {
    PeerSocket peer = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer < 0) return kNoPeerSocket;
    int yes = 1;
    ::setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return peer;
}

inline bool SendToPeer(PeerSocket peer, const std::string& bytes) {
    return ::send(peer, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0;
}

inline long ReceiveFromPeer(PeerSocket peer, char* buffer, std::size_t size) {
    return static_cast<long>(::recv(peer, buffer, size, 0));
}

inline void ClosePeer(PeerSocket socket) { ::close(socket); }

}  // namespace vigilon::test
