#pragma once

#include <chrono>

#include "EchoResult.h"

namespace vigilon::ravelin {

// One request of a run and what became of it.
struct PingRecord {
    EchoResult result;
    // When the request went out: the wall clock for saved lines, and seconds
    // since the run began on the monotonic clock for the graph.
    std::chrono::system_clock::time_point sentAt;
    double secondsIntoRun = 0;
};

}  // namespace vigilon::ravelin
