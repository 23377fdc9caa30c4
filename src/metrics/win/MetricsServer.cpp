#include "MetricsServer.h"

namespace vigilon::metrics {

// The endpoint is served on Linux, where the headless service runs; on
// Windows the textfile carries the same figures.
MetricsServer::MetricsServer(MetricsSnapshot& snapshot, ServerLimits limits)
    : snapshot_(snapshot), limits_(limits) {}

MetricsServer::~MetricsServer() = default;

std::string MetricsServer::Start(const ListenAddress& address) {
    return "cannot serve metrics on " + address.shown +
           ": the HTTP endpoint is not available on Windows; use --metrics-file";
}

void MetricsServer::Serve() {}

}  // namespace vigilon::metrics
