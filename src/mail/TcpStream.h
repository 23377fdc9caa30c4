#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "UniqueSocket.h"

namespace vigilon {

// A blocking TCP stream over IPv4 or IPv6 whose every wait ends at a
// deadline: a silent server must not hold the mail thread past its limits.
class TcpStream {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    TcpStream() = default;
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;
    ~TcpStream() { Close(); }

    // False when no socket can be made.
    bool Create();
    // Resolves host (a name, a dotted IPv4 or an IPv6 address) and connects
    // to the first of its addresses, of either family in the resolver's
    // order, that answers, lookup and all by deadline. Small writes then go
    // out at once: the dialogue waits for a reply after each, so holding
    // them back for coalescing only adds delay.
    bool Connect(const std::string& host, int port, Deadline deadline);
    // Hands over every byte, or fails on a socket error or a peer that takes
    // them not all by deadline. A dropped peer raises no SIGPIPE.
    bool SendAll(std::string_view bytes, Deadline deadline);
    // Bytes received (> 0); 0 when the peer has closed; -1 on an error or
    // when nothing arrives before the deadline.
    long Receive(char* buffer, std::size_t size, Deadline deadline);
    void Close();
    bool IsOpen() const { return static_cast<bool>(fd_); }

private:
    bool CreateFor(int family);
    bool ConnectOne(const void* address, unsigned addressLength, Deadline deadline);
    // Small writes go out at once (TCP_NODELAY).
    void SendAtOnce();

    UniqueSocket fd_;
    int family_ = 0;
    bool tried_ = false;  // a connect was tried on this socket
};

}  // namespace vigilon
