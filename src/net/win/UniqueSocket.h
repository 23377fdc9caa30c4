#pragma once

#include <utility>

#include "SystemSockets.h"

namespace vigilon {

// A socket owned and closed on every way out: a Winsock SOCKET, which
// closesocket closes (not the C runtime's close).
class UniqueSocket {
public:
    explicit UniqueSocket(SOCKET socket = INVALID_SOCKET) : socket_(socket) {}
    ~UniqueSocket() { Close(); }
    UniqueSocket(UniqueSocket&& other) noexcept
        : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Close();
            socket_ = std::exchange(other.socket_, INVALID_SOCKET);
        }
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    SOCKET Get() const { return socket_; }
    explicit operator bool() const { return socket_ != INVALID_SOCKET; }
    int Close() {
        return socket_ != INVALID_SOCKET ? ::closesocket(std::exchange(socket_, INVALID_SOCKET))
                                         : 0;
    }

private:
    SOCKET socket_;
};

}  // namespace vigilon
