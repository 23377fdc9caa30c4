#pragma once

#include <string>
#include <vector>

#include "ServerProcess.h"

namespace vigilon::test {

// tls_smtp_server.py run on a loopback address: aiosmtpd speaking plain SMTP,
// STARTTLS or TLS from the first byte, with or without a login. It stores
// each message byte for byte and notes what the client did (see the script).
class TlsSmtpServer {
public:
    struct Options {
        std::string mode = "starttls";  // "plain", "starttls" or "implicit"
        std::string cert;               // PEM files, for the TLS modes
        std::string key;
        std::string login;  // empty: no login
        std::string password;
        std::string mechanism;      // "PLAIN" or "LOGIN"; empty: both
        bool echoPassword = false;  // a wrong one shows in the refusal
        std::string address = "127.0.0.1";
    };

    explicit TlsSmtpServer(const Options& options);
    ~TlsSmtpServer();
    TlsSmtpServer(const TlsSmtpServer&) = delete;
    TlsSmtpServer& operator=(const TlsSmtpServer&) = delete;

    bool Ready() const { return ready_; }
    int Port() const { return port_; }
    // The messages as received after DATA, dot-stuffing undone, in order.
    std::vector<std::string> Messages() const;
    // One line per client step: "EHLO tls NAME", "AUTH tls PLAIN alice ok",
    // "MAIL tls ADDRESS", "RCPT tls ADDRESS"; "clear" for steps without TLS.
    std::vector<std::string> Events() const;
    // What the server printed, for a failure message.
    std::string Output() const;

private:
    std::string dir_;
    int port_ = 0;
    ServerProcess process_;
    bool ready_ = false;
};

}  // namespace vigilon::test
