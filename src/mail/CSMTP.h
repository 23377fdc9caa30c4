#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "CNotifyMail.h"
#include "SmtpTimeouts.h"
#include "TcpStream.h"

namespace vigilon {

// The line every message carries after its header lines.
inline constexpr std::string_view kXMailerLine = "X-Mailer: CSMTP class for MFC\r\n";

// Delivers messages to one SMTP server over one connection, in a strictly
// sequential dialogue: greeting, HELO, then per message MAIL, RCPT, DATA,
// and finally QUIT. Every step reports success as a boolean and leaves the
// reason of a failure in the last-error text; nothing throws.
class CSMTP {
public:
    static constexpr std::int32_t kSmtpPort = 25;

    CSMTP(const std::string& serverHostName, std::int32_t port, SmtpTimeouts timeouts = {});
    // Says QUIT first when still connected.
    virtual ~CSMTP();
    // Prepares header and body; false (error text unchanged) when the
    // message has no recipients.
    virtual bool FormatMailMessage(CNotifyMail& message);

    CSMTP(const CSMTP&) = delete;
    CSMTP& operator=(const CSMTP&) = delete;

    bool Connect();
    bool Disconnect();
    bool SendMessage(CNotifyMail& message);

    std::string GetLastErrorText() const { return errorText_; }
    std::string GetServerHostName() const { return serverHostName_; }
    std::int32_t GetPort() const { return port_; }
    bool IsConnected() const { return connected_; }

protected:
    bool Transmit(CNotifyMail& message);
    // Reads one whole reply and checks its code against the expected one
    // of the given step (see kExpectedReplies).
    bool ReadResponse(int index);

private:
    using Deadline = TcpStream::Deadline;

    // The end of a step's wait: its own limit, or the end of the exchange.
    Deadline StepDeadline(std::chrono::milliseconds limit) const;
    // Sends nothing once the connection has timed out or broken.
    void SendText(std::string_view text);
    void CloseSocket();

    std::string errorText_ = "OK";
    bool connected_ = false;
    std::int32_t port_;
    std::string serverHostName_;
    TcpStream socket_;
    std::string responseBuffer_;  // received bytes not yet taken by a reply
    SmtpTimeouts timeouts_;
    Deadline exchangeEnd_{};  // set by each new Connect
};

}  // namespace vigilon
