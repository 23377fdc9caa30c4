#pragma once

#include <string>
#include <vector>

#include "ServerProcess.h"

namespace vigilon::test {

// A real SMTP server for end-to-end tests: Debian's aiosmtpd, run by the
// system Python on a loopback address of either family, storing what it receives in a fresh
// maildir. Started by the constructor, stopped by the destructor.
class RealSmtpServer {
public:
    // Port 0 picks a free one.
    explicit RealSmtpServer(const std::string& address = "127.0.0.1", int port = 0);
    ~RealSmtpServer();
    RealSmtpServer(const RealSmtpServer&) = delete;
    RealSmtpServer& operator=(const RealSmtpServer&) = delete;

    // True once it accepts connections.
    bool Ready() const { return ready_; }
    int Port() const { return port_; }
    // The stored messages, each as the text of its file.
    std::vector<std::string> Messages() const;

private:
    std::string address_;
    int port_ = 0;
    std::string mailDir_;
    ServerProcess process_;
    bool ready_ = false;
};

// The value of the first header line named name ("Subject"), or "".
std::string HeaderValue(const std::string& message, const std::string& name);
// The text after the blank line that ends the header.
std::string BodyOf(const std::string& message);

}  // namespace vigilon::test
