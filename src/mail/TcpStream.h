#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace vigilon {

// A blocking IPv4 TCP stream whose every wait is bounded: the SMTP dialogue
// runs on the user-interface thread, and a silent server must not freeze it.
class TcpStream {
public:
    TcpStream() = default;
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;
    ~TcpStream() { Close(); }

    // False when no socket can be made.
    bool Create();
    // Resolves host (a name or dotted address) and connects to the first of
    // its IPv4 addresses that answers within the limit, counted for all
    // addresses together.
    bool Connect(const std::string& host, int port, std::chrono::milliseconds limit);
    // Hands over every byte, or fails on a socket error or a peer that takes
    // nothing within the limit. A dropped peer raises no SIGPIPE.
    bool SendAll(std::string_view bytes, std::chrono::milliseconds limit);
    // Bytes received (> 0); 0 when the peer has closed; -1 on an error or
    // when nothing arrives before the deadline.
    long Receive(char* buffer, std::size_t size, std::chrono::steady_clock::time_point deadline);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    bool ConnectOne(const void* address, unsigned addressLength,
                    std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
};

}  // namespace vigilon
