#pragma once

#include <cstdint>
#include <string>

#include "LogWriter.h"
#include "MonitorPorts.h"
#include "MonitorRun.h"
#include "MonitorSettings.h"
#include "CSMTP.h"
#include "SmtpTimeouts.h"
#include "WallClock.h"

namespace vigilon {

// Composes the alert and recovery e-mail and delivers it through the first
// SMTP server, falling back to the second, either of them a bare host or a
// URL (ServerDelivery.h). The words come from the run's latest target and
// control results, so one path serves both messages. port is a bare host's.
class AlertMailer {
public:
    explicit AlertMailer(WallClock& clock, std::int32_t port = CSMTP::kSmtpPort,
                         SmtpTimeouts timeouts = {})
        : clock_(clock), port_(port), timeouts_(timeouts) {}

    void DeliverAlert(const MonitorSettings& settings, MonitorRun& run,
                      LogWriter& writeLog);

    // True when the message went out through server. On success counts the
    // e-mail and logs three lines; on failure sets lastError and logs it.
    // Does nothing at all while e-mail is switched off.
    bool SendAlert(const std::string& server, const MonitorSettings& settings, MonitorRun& run,
                   LogWriter& writeLog);

private:
    WallClock& clock_;
    std::int32_t port_;
    SmtpTimeouts timeouts_;
};

}  // namespace vigilon
