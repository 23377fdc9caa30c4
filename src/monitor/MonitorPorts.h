#pragma once

// The small interfaces through which the monitoring engine reaches the
// outside world. The wx window and the network, mail and store modules
// implement them; tests implement them with fakes.

#include <cstdint>
#include <memory>
#include <string>

#include "LogWriter.h"
#include "MonitorRun.h"
#include "MonitorSettings.h"
#include "TrayState.h"

namespace vigilon {

enum TimerId : int { TIMER_PING = 101, TIMER_CLOCK = 102, TIMER_TRAY = 103 };

// Window timers by id. Arming an armed timer restarts it with the new period.
class Timers {
public:
    virtual ~Timers() = default;
    virtual void Arm(int timerId, std::uint32_t periodMs) = 0;
    virtual void Stop(int timerId) = 0;
};

// The three status lamps, stacked on one spot of the window.
enum class Lamp { Idle = 1010, Online = 1018, TargetDown = 1020 };

// What the main window shows of a run.
class MonitorDisplay {
public:
    virtual ~MonitorDisplay() = default;
    virtual void ShowLamp(Lamp lamp, bool visible) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetToggleButtonText(const std::string& text) = 0;
    // File menu: "&Start Ping" and "Sto&p Ping" enabled or grayed.
    virtual void EnableStartStop(bool startEnabled, bool stopEnabled) = 0;
    virtual void SetProgress(int position) = 0;  // 0..100
    // Pushes every window field (target, texts, countdown) into the controls.
    virtual void Refresh(const MonitorSettings& settings, const MonitorRun& run) = 0;
    virtual void SetTrayState(TrayState state) = 0;
    virtual void HideWindow() = 0;
    // Options menu: the check marks of "Enable &Log" and "&Enable Email".
    virtual void SetMenuChecks(bool logChecked, bool emailChecked) = 0;
};

// One ICMP echo exchange per call; the result is a text line, "timed out"
// being the only time-out. A probe keeps its sequence counter across calls.
class EchoProber {
public:
    virtual ~EchoProber() = default;
    virtual std::string Ping(const std::string& host, int dataSize) = 0;
};

// Probes and name lookups. The engine makes one probe per ping cycle.
class NetworkProbes {
public:
    virtual ~NetworkProbes() = default;
    virtual std::unique_ptr<EchoProber> NewProbe() = 0;
    virtual std::string LookupAddress(const std::string& host) = 0;
    virtual std::string LookupName(const std::string& address) = 0;
};

// Sends the alert or recovery mail through the first server, falling back
// to the second. Reads the run's results; updates emailsSent and lastError;
// logs through writeLog (the gated log).
class AlertDelivery {
public:
    virtual ~AlertDelivery() = default;
    virtual void DeliverAlert(const MonitorSettings& settings, MonitorRun& run,
                              LogWriter& writeLog) = 0;
};

// The blocking pause after an answered cycle.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void Wait(std::uint32_t milliseconds) = 0;
};

}  // namespace vigilon
