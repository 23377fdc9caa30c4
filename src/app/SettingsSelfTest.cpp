#include "SettingsSelfTest.h"

#include "CNotifyMail.h"
#include "ProbeResult.h"
#include "ServerDelivery.h"
#include "SmtpServerAddress.h"

namespace vigilon::app {

namespace {
constexpr int kDataSize = 32;
}

SelfTestResults SettingsSelfTest::RunTests(const SelfTestInputs& inputs, SelfTestView& view) {
    SelfTestResults r;
    view.BeginRun();
    eventLog_.Write("**************** Testing Settings ****************");
    r.targetPingResult = PingTest(inputs.targetAddress);
    view.ShowResults(r);
    r.controlPingResult = PingTest(inputs.controlAddress);
    view.ShowResults(r);

    const bool secondServer = !inputs.smtpServer2.empty();
    if (inputs.emailEnabled != 0) {
        r.smtp1PingResult = PingServerTest(inputs.smtpServer1);
        view.ShowResults(r);
        if (secondServer) {
            r.smtp2PingResult = PingServerTest(inputs.smtpServer2);
            view.ShowResults(r);
        } else {
            r.smtp2PingResult = kNotApplicable;
        }
        r.smtp1MailResult = MailTest(inputs.smtpServer1, inputs);
        view.ShowResults(r);
        r.smtp2MailResult = secondServer ? MailTest(inputs.smtpServer2, inputs) : kNotApplicable;
        view.ShowResults(r);
    } else {
        // No SMTP server is contacted at all.
        r.smtp1PingResult = r.smtp2PingResult = kNotApplicable;
        r.smtp1MailResult = r.smtp2MailResult = kNotApplicable;
    }
    view.ShowResults(r);

    eventLog_.Write("Target: " + r.targetPingResult);
    eventLog_.Write("Control: " + r.controlPingResult);
    eventLog_.Write("Ping 1st SMTP: " + r.smtp1PingResult);
    eventLog_.Write("Ping 2nd SMTP: " + r.smtp2PingResult);
    eventLog_.Write("Send Email 1st SMTP: " + r.smtp1MailResult);
    eventLog_.Write("Send Email 2nd SMTP: " + r.smtp2MailResult);
    view.EndRun();
    return r;
}

std::string SettingsSelfTest::PingTest(const std::string& host) {
    std::unique_ptr<EchoProber> probe = network_.NewProbe();
    // The test exists to catch a host that cannot be reached: a name that
    // does not resolve or a probe that cannot send fails it just as a
    // time-out does.
    const LookupOutcome address = network_.LookupAddress(host);
    if (!address.found) return kFail;
    return IsAnswer(probe->Ping(address.text, kDataSize).text) ? kPass : kFail;
}

// A URL server is pinged at its host; a bare host is the whole field. A
// field that cannot be used fails as it stands: whatever host could be cut
// from it is not the server the mail would go to.
std::string SettingsSelfTest::PingServerTest(const std::string& server) {
    const SmtpServerAddress address = SmtpServerAddress::Parse(server);
    if (!address.error.empty()) return kFail;
    return PingTest(address.host);
}

std::string SettingsSelfTest::MailTest(const std::string& server, const SelfTestInputs& inputs) {
    // The mail, the log and the window name the server without a password.
    const std::string shown = ShownServer(server);
    CNotifyMail message;
    const std::string body = "If you got this email then your SMTP server " + shown + " is working";
    message.from = inputs.mailFrom;
    message.AddMultipleRecipients(inputs.mailTo);  // a malformed piece only shortens the list
    message.subject = "Testing - " + inputs.targetAddress;
    message.body = body;

    const MailOutcome outcome = SendMailThrough(server, message, CSMTP::kSmtpPort, timeouts_);
    if (outcome.delivered) {
        eventLog_.Write("EMAIL TO: " + inputs.mailTo + " (through) " + shown);
        eventLog_.Write("MESSAGE: " + body);
        return kPass;
    }
    eventLog_.Write("SMTP " + shown + " " + outcome.errorText);
    return kFail;
}

}  // namespace vigilon::app
