#pragma once

#include <cstdint>
#include <string>

#include "DesktopNotifier.h"
#include "MonitorPorts.h"
#include "WallClock.h"

namespace vigilon::app {

// The desktop's notice of the alert or the recovery: the mail's subject and
// body, and on recovery how long the outage lasted.
DesktopNotice AlertNotice(const MonitorSettings& settings, const MonitorRun& run, std::int64_t now);

// "Outage: 00:02:05", hours counting past 24; a negative span (the clock was
// set back) shows as zero.
std::string OutageText(std::int64_t seconds);

// Tells the desktop at the two moments that send mail, then sends the mail.
// The notice goes first: delivery through two unreachable servers can take
// a minute, and the outage may be the watcher's own network.
class AlertNoticeDelivery : public AlertDelivery {
public:
    AlertNoticeDelivery(AlertDelivery& mail, DesktopNotifier& desktop, WallClock& clock)
        : mail_(mail), desktop_(desktop), clock_(clock) {}

    void DeliverAlert(const MonitorSettings& settings, MonitorRun& run, LogWriter& writeLog) override;

private:
    AlertDelivery& mail_;
    DesktopNotifier& desktop_;
    WallClock& clock_;
};

}  // namespace vigilon::app
