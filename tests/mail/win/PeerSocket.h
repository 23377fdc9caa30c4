#pragma once

#include <string>

#include "NetworkStart.h"
#include "SystemSockets.h"

namespace vigilon::test {

// The sockets of the tests' scripted SMTP peer: one header for each platform.
using PeerSocket = SOCKET;
inline constexpr PeerSocket kNoPeerSocket = INVALID_SOCKET;

// A listening socket on address and port (0: any free one), bound port given back.
inline PeerSocket ListenOn(const std::string& address, int port, int& boundPort) {
    StartNetwork();
    PeerSocket listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(port));
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    ::bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(listener, 1);
    int length = sizeof sa;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&sa), &length);
    boundPort = ntohs(sa.sin_port);
    return listener;
}

inline bool WaitReadable(PeerSocket socket, int milliseconds) {
    WSAPOLLFD p{};
    p.fd = socket;
    p.events = POLLRDNORM;
    return ::WSAPoll(&p, 1, milliseconds) > 0;
}

inline PeerSocket AcceptPeer(PeerSocket listener) {
    PeerSocket peer = ::accept(listener, nullptr, nullptr);
    if (peer == INVALID_SOCKET) return kNoPeerSocket;
    BOOL yes = TRUE;
    ::setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
    return peer;
}

inline bool SendToPeer(PeerSocket peer, const std::string& bytes) {
    return ::send(peer, bytes.data(), static_cast<int>(bytes.size()), 0) >= 0;
}

inline long ReceiveFromPeer(PeerSocket peer, char* buffer, std::size_t size) {
    return ::recv(peer, buffer, static_cast<int>(size), 0);
}

inline void ClosePeer(PeerSocket socket) { ::closesocket(socket); }

}  // namespace vigilon::test
