#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

enum class AlertKind { Alert, Recovery };

// One alert or recovery as the ping cycle decided it: everything its desktop
// notice and its mail say, fixed at the moment of the event, so that a mail
// that goes out later still tells of that moment.
struct AlertEvent {
    AlertKind kind = AlertKind::Alert;
    std::int64_t time = 0;         // wall-clock seconds of the event
    std::int64_t outageStart = 0;  // wall-clock seconds of the outage's first time-out
    std::string targetAddress;
    std::string targetResult;   // the cycle's target result
    std::string controlResult;  // the control probe made for the event
    std::string mailFrom;
    std::string mailTo;  // recipients as typed, separated by ';'

    bool operator==(const AlertEvent&) const = default;
};

// What the mail says of the target: down for an alert, up for a recovery.
inline const char* TargetStatusWord(AlertKind kind) {
    return kind == AlertKind::Alert ? "OFFLINE" : "ONLINE";
}

}  // namespace vigilon
