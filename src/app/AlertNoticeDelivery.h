#pragma once

#include <cstdint>
#include <string>

#include "DesktopNotifier.h"
#include "MonitorPorts.h"

namespace vigilon::app {

// The desktop's notice of an alert or a recovery: the mail's subject and
// body, and on recovery how long the outage lasted.
DesktopNotice AlertNotice(const AlertEvent& event);

// "Outage: 00:02:05", hours counting past 24; a negative span (the clock was
// set back) shows as zero.
std::string OutageText(std::int64_t seconds);

// Tells the desktop at the two moments that send mail, then hands the mail
// to the delivery beside monitoring. Neither waits for anyone.
class AlertNoticeDelivery : public AlertDelivery {
public:
    AlertNoticeDelivery(AlertDelivery& mail, DesktopNotifier& desktop)
        : mail_(mail), desktop_(desktop) {}

    void Attach(DeliveryListener* listener) override { mail_.Attach(listener); }
    void DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) override;
    void UseSettings(const MonitorSettings& settings) override { mail_.UseSettings(settings); }
    int MailsWaiting() const override { return mail_.MailsWaiting(); }

private:
    AlertDelivery& mail_;
    DesktopNotifier& desktop_;
};

}  // namespace vigilon::app
