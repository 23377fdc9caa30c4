#include "ServerDelivery.h"

#include "SmtpServerAddress.h"
#include "UrlMailSender.h"

namespace vigilon {

MailOutcome SendMailThrough(const std::string& server, CNotifyMail& message, std::int32_t barePort,
                            SmtpTimeouts timeouts) {
    MailOutcome outcome;
    const SmtpServerAddress address = SmtpServerAddress::Parse(server);
    if (!address.error.empty()) {
        outcome.errorText = address.error;
    } else if (address.IsUrl()) {
        outcome.delivered = SendThroughUrl(address, message, timeouts, outcome.errorText);
    } else {
        // A client still connected after a failure says QUIT as it goes.
        CSMTP client(server, barePort, timeouts);
        outcome.accepted = client.Connect() && client.SendMessage(message);
        outcome.delivered = outcome.accepted && client.Disconnect();
        if (!outcome.delivered) outcome.errorText = client.GetLastErrorText();
    }
    return outcome;
}

MailSender SmtpSender(std::int32_t barePort, SmtpTimeouts timeouts) {
    return [barePort, timeouts](const std::string& server, CNotifyMail& message) {
        return SendMailThrough(server, message, barePort, timeouts);
    };
}

}  // namespace vigilon
