#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "ListenAddress.h"
#include "MetricsSnapshot.h"
#include "UniqueFd.h"

namespace vigilon::metrics {

struct ServerLimits {
    std::size_t connections = 8;               // served at once; more wait in the kernel's queue
    std::chrono::milliseconds exchange{5000};  // from accept to the last byte sent
};

// The /metrics endpoint on a thread of its own: it serves the snapshot as it
// stands, so a scrape never waits for the engine, and the engine never for
// a scraper. Sockets never block; a client that stalls is dropped when its
// exchange's time is up, and no more than limits.connections are served at
// once, so no client can hold the thread or take its memory.
class MetricsServer {
public:
    MetricsServer(MetricsSnapshot& snapshot, ServerLimits limits = {});
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // Binds and starts serving; empty on success, else why not.
    std::string Start(const ListenAddress& address);
    // The port bound (useful when 0 was asked for).
    int Port() const { return port_; }

private:
    void Serve();

    MetricsSnapshot& snapshot_;
    ServerLimits limits_;
    UniqueFd listener_;
    UniqueFd stop_;  // an eventfd that ends Serve
    int port_ = 0;
    std::thread thread_;
};

}  // namespace vigilon::metrics
