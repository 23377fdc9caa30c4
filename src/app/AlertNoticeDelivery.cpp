#include "AlertNoticeDelivery.h"

#include <cstdio>

#include "AlertText.h"
#include "ProbeResult.h"

namespace vigilon::app {

DesktopNotice AlertNotice(const AlertEvent& event) {
    const std::string targetStatus = TargetStatusWord(event.kind);
    DesktopNotice notice;
    notice.kind =
        event.kind == AlertKind::Alert ? NoticeKind::TargetDown : NoticeKind::TargetAnswers;
    notice.summary = AlertSubject(event.targetAddress, targetStatus);
    notice.body =
        AlertBody(event.time, event.targetAddress, targetStatus, StatusWord(event.controlResult));
    if (event.kind == AlertKind::Recovery)
        notice.body += "\n" + OutageText(event.time - event.outageStart);
    return notice;
}

std::string OutageText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[48];
    std::snprintf(text, sizeof text, "Outage: %02lld:%02d:%02d",
                  static_cast<long long>(seconds / 3600), static_cast<int>(seconds % 3600 / 60),
                  static_cast<int>(seconds % 60));
    return text;
}

void AlertNoticeDelivery::DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) {
    desktop_.Notify(AlertNotice(event));
    mail_.DeliverAlert(event, settings);
}

}  // namespace vigilon::app
