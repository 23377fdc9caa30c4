#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "CNotifyMail.h"
#include "CSMTP.h"

namespace vigilon {

struct MailOutcome {
    bool delivered = false;  // the whole exchange went as SMTP says
    std::string errorText;   // why not; never holds the server's password
    // The server took the message (it answered the end of the data), even
    // if the exchange went wrong afterwards: sending it again would send it
    // twice.
    bool accepted = false;
    bool Taken() const { return delivered || accepted; }
};

// Delivers message through server, an SMTP server field of the settings: a
// bare host gets the plain client on barePort (connect, send, QUIT), a URL
// goes through libcurl (UrlMailSender.h). Callers show the server as
// ShownServer(server) (SmtpServerAddress.h), never as typed.
MailOutcome SendMailThrough(const std::string& server, CNotifyMail& message,
                            std::int32_t barePort = CSMTP::kSmtpPort, SmtpTimeouts timeouts = {});

// One attempt to hand message to server, as a caller that sends mail sees
// it; tests give one of their own.
using MailSender = std::function<MailOutcome(const std::string& server, CNotifyMail& message)>;

// SendMailThrough with this port for bare hosts and these time limits.
MailSender SmtpSender(std::int32_t barePort = CSMTP::kSmtpPort, SmtpTimeouts timeouts = {});

}  // namespace vigilon
