#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <string>

#include "UniqueFd.h"

namespace vigilon::test {

// Connects to 127.0.0.1:port (in the calling thread's network namespace),
// sends request as it is and returns all that comes back until the server
// closes; empty when nothing could be had within limit.
inline std::string Exchange(int port, const std::string& request,
                            std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return {};
    if (::send(socket.Get(), request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size()))
        return {};
    std::string received;
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < giveUp) {
        pollfd readable{socket.Get(), POLLIN, 0};
        if (::poll(&readable, 1, 50) <= 0) continue;
        char chunk[4096];
        const ssize_t got = ::recv(socket.Get(), chunk, sizeof chunk, 0);
        if (got <= 0) break;
        received.append(chunk, static_cast<std::size_t>(got));
    }
    return received;
}

inline std::string Get(int port, const std::string& target) {
    return Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

// The body of a response.
inline std::string Body(const std::string& response) {
    const std::size_t end = response.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : response.substr(end + 4);
}

}  // namespace vigilon::test
