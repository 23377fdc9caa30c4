#pragma once

#include <string>

#include "SystemSockets.h"

namespace vigilon::metrics {

// Where the metrics endpoint listens: a numeric address and a port.
struct ListenAddress {
    sockaddr_storage address{};
    socklen_t length = 0;
    std::string shown;  // "127.0.0.1:9101", "[::1]:9101"
};

// Reads HOST:PORT. HOST is an IPv4 address, an IPv6 address in brackets or
// "localhost"; an empty HOST means 127.0.0.1, so that a bare ":PORT" never
// opens the endpoint beyond this machine. Names are not looked up: the
// endpoint must not depend on a resolver at start-up. Empty on success,
// else what is wrong.
std::string ParseListenAddress(const std::string& text, ListenAddress& parsed);

}  // namespace vigilon::metrics
