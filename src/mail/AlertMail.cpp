#include "AlertMail.h"

#include "AlertText.h"
#include "ProbeResult.h"

namespace vigilon {

CNotifyMail ComposeAlertMail(const AlertEvent& event) {
    const std::string targetStatus = TargetStatusWord(event.kind);
    CNotifyMail message;
    message.from = event.mailFrom;
    message.AddMultipleRecipients(event.mailTo);
    message.subject = AlertSubject(event.targetAddress, targetStatus);
    message.body = AlertBody(event.time, event.targetAddress, targetStatus, StatusWord(event.controlResult));
    message.date = static_cast<std::time_t>(event.time);
    return message;
}

}  // namespace vigilon
