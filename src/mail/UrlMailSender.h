#pragma once

#include <string>

#include "CNotifyMail.h"
#include "SmtpServerAddress.h"
#include "SmtpTimeouts.h"

namespace vigilon {

// Delivers one message through a URL server with libcurl: TLS from the start
// (smtps) or through STARTTLS, which must be offered before anything else is
// sent (smtp); the certificate and its host name checked against the
// system's CA store plus the file named by VIGILON_SMTP_CA_FILE; the login of
// the URL, or of ~/.netrc when the URL has no password. The message is the
// one the plain client sends, header lines, X-Mailer line and body alike.
// True when the server accepted it; otherwise errorText says what went
// wrong, never with the password in it.
bool SendThroughUrl(const SmtpServerAddress& server, CNotifyMail& message,
                    const SmtpTimeouts& timeouts, std::string& errorText);

}  // namespace vigilon
