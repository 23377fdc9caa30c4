#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// State, counters and status texts of a monitoring run. The window shows the
// texts; the engine owns every change to them.
struct MonitorRun {
    bool running = false;
    bool targetDown = false;  // the last target probe timed out
    bool alertSent = false;   // an alert went out for this outage, no recovery yet

    std::int32_t consecutiveTimeouts = 0;
    std::int32_t pingNumber = 0;
    std::int32_t targetTimeouts = 0;
    std::int32_t controlTimeouts = 0;
    std::int32_t emailsSent = 0;
    std::int64_t dayIndex = 0;     // whole days of running time seen by the clock step
    std::int64_t runStart = 0;     // wall-clock seconds since 1970 at the last reset
    std::int64_t outageStart = 0;  // wall-clock seconds at the outage's first time-out
    std::int32_t countdown = 0;    // seconds until the next ping cycle

    std::string controlResult;  // control probe of the current cycle only

    std::string lastResult;
    std::string targetIp;
    std::string ipToName;
    std::string lastError;
    std::string timeRunningText;
    std::string pingNumberText;
    std::string targetTimeoutsText;
    std::string controlTimeoutsText;
    std::string emailsText;

    // The statistics that a new run and every 24 hours of running time
    // start again from zero.
    void ZeroCounters() {
        consecutiveTimeouts = 0;
        pingNumber = 0;
        emailsSent = 0;
        targetTimeouts = 0;
        controlTimeouts = 0;
    }
};

}  // namespace vigilon
