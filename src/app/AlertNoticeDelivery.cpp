#include "AlertNoticeDelivery.h"

#include <cstdio>

#include "AlertText.h"
#include "ProbeResult.h"

namespace vigilon::app {

DesktopNotice AlertNotice(const MonitorSettings& settings, const MonitorRun& run, std::int64_t now) {
    const std::string targetStatus = StatusWord(run.lastResult);
    DesktopNotice notice;
    // The engine delivers the alert while the target is down and the
    // recovery once it answers again.
    notice.kind = run.targetDown ? NoticeKind::TargetDown : NoticeKind::TargetAnswers;
    notice.summary = AlertSubject(settings.targetAddress, targetStatus);
    notice.body = AlertBody(now, settings.targetAddress, targetStatus, StatusWord(run.controlResult));
    if (notice.kind == NoticeKind::TargetAnswers) notice.body += "\n" + OutageText(now - run.outageStart);
    return notice;
}

std::string OutageText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[48];
    std::snprintf(text, sizeof text, "Outage: %02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds % 3600 / 60), static_cast<int>(seconds % 60));
    return text;
}

void AlertNoticeDelivery::DeliverAlert(const MonitorSettings& settings, MonitorRun& run, LogWriter& writeLog) {
    desktop_.Notify(AlertNotice(settings, run, clock_.Now()));
    mail_.DeliverAlert(settings, run, writeLog);
}

}  // namespace vigilon::app
