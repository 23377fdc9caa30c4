#pragma once

// The small interfaces through which the monitoring engine reaches the
// outside world. The wx window and the network, mail and store modules
// implement them; tests implement them with fakes.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "AlertEvent.h"
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

// What one echo exchange came to.
struct ProbeOutcome {
    std::string text;               // the probe's result line
    bool localFailure = false;      // this machine could not send or wait: the user is told
    std::int64_t roundTripUs = -1;  // an answer's round trip; -1 otherwise
    int hopLimit = -1;              // an answer's TTL as it arrived; -1 when unknown
};

// What one name lookup came to.
struct LookupOutcome {
    bool found = false;
    std::string text;  // the address or name found, or "Can't resolve " and the text asked for
};

// One ICMP echo exchange per call; blocks until its outcome is known. A
// probe keeps its sequence counter across calls.
class EchoProber {
public:
    virtual ~EchoProber() = default;
    virtual ProbeOutcome Ping(const std::string& host, int dataSize) = 0;
};

// Probes and name lookups, each blocking its caller: the engine calls them
// through BackgroundWork, never on its own thread. Lookups give up after a
// bounded wait. The engine makes one probe per ping cycle.
class NetworkProbes {
public:
    virtual ~NetworkProbes() = default;
    virtual std::unique_ptr<EchoProber> NewProbe() = 0;
    virtual LookupOutcome LookupAddress(const std::string& host) = 0;
    virtual LookupOutcome LookupName(const std::string& address) = 0;
};

// Runs blocking work beside the engine's thread. A job runs on a worker; the
// function it returns then runs on the engine's thread. Jobs run one at a
// time, in the order given. A job's work may only use what it holds itself,
// as it can outlive the engine.
class BackgroundWork {
public:
    using Job = std::function<std::function<void()>()>;
    virtual ~BackgroundWork() = default;
    virtual void Run(Job job) = 0;
};

// What became of an alert mail, told on the engine's thread: each attempt
// through a server, in order. shownServer never holds a password.
class DeliveryListener {
public:
    virtual ~DeliveryListener() = default;
    virtual void MailDelivered(const AlertEvent& event, const std::string& shownServer) = 0;
    virtual void MailAttemptFailed(const AlertEvent& event, const std::string& shownServer,
                                   const std::string& errorText) = 0;
};

// Takes the mails of alerts and recoveries and delivers them beside
// monitoring, through the first server and else the second, until one
// accepts each, in the order of their events.
class AlertDelivery {
public:
    virtual ~AlertDelivery() = default;
    // Where the outcome of every attempt is told; nullptr for nowhere.
    virtual void Attach(DeliveryListener* listener) = 0;
    // Also shows the event beside the mail where a decorator does (a desktop
    // notice). Returns at once; no mail is taken while e-mail is off.
    virtual void DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) = 0;
    // The servers and the e-mail switch for the attempts still to come.
    virtual void UseSettings(const MonitorSettings& settings) = 0;
    // Mails taken and not yet accepted by a server.
    virtual int MailsWaiting() const = 0;
};

// The pause after an answered cycle: then runs on the engine's thread once
// it is over. The thread is free meanwhile.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void After(std::uint32_t milliseconds, std::function<void()> then) = 0;
};

}  // namespace vigilon
