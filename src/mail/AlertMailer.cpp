#include "AlertMailer.h"

#include "AlertText.h"
#include "CNotifyMail.h"
#include "ProbeResult.h"
#include "ServerDelivery.h"
#include "SmtpServerAddress.h"

namespace vigilon {

void AlertMailer::DeliverAlert(const MonitorSettings& settings, MonitorRun& run,
                               LogWriter& writeLog) {
    if (SendAlert(settings.smtpServer1, settings, run, writeLog)) return;
    if (!settings.smtpServer2.empty()) SendAlert(settings.smtpServer2, settings, run, writeLog);
}

bool AlertMailer::SendAlert(const std::string& server, const MonitorSettings& settings,
                            MonitorRun& run, LogWriter& writeLog) {
    if (settings.emailEnabled == 0) return false;

    CNotifyMail message;
    const std::string targetStatus = StatusWord(run.lastResult);
    const std::string controlStatus = StatusWord(run.controlResult);
    // Taken before connecting, so a slow server does not shift it.
    const std::int64_t now = clock_.Now();

    message.from = settings.mailFrom;
    // A malformed piece only shortens the list; the rest still get the mail.
    message.AddMultipleRecipients(settings.mailTo);
    message.subject = AlertSubject(settings.targetAddress, targetStatus);
    message.body = AlertBody(now, settings.targetAddress, targetStatus, controlStatus);

    const MailOutcome outcome = SendMailThrough(server, message, port_, timeouts_);
    // A login's password stays out of the log and the window.
    const std::string shown = ShownServer(server);
    if (outcome.delivered) {
        ++run.emailsSent;
        writeLog.Write("EMAIL TO: " + settings.mailTo + " (through) " + shown);
        writeLog.Write("MESSAGE: " + settings.targetAddress + " : " + targetStatus + " : " +
                       run.lastResult);
        writeLog.Write("Control Ping: " + run.controlResult);
        return true;
    }
    run.lastError = "SMTP " + shown + " " + outcome.errorText;
    writeLog.Write(run.lastError);
    return false;
}

}  // namespace vigilon
