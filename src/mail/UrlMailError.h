#pragma once

#include <string>

namespace vigilon {

// What a failed delivery through a URL server left behind.
struct UrlMailFailure {
    int curlCode = 0;                // libcurl's result code
    std::string host;                // the server's
    bool connected = false;          // the TCP connection had been made
    bool connectTimedOut = false;    // stopped by the connect limit
    bool handshakeTimedOut = false;  // connected, but TLS never set up in time
    int osError = 0;                 // errno of the failed connect, 0 if none
    std::string detail;              // libcurl's own error message, may be empty
    std::string lastReply;           // the server's last reply line, may be empty
};

// One line that says what went wrong, in the user's terms: the connection,
// the TLS handshake, the certificate, STARTTLS, the login, or the server's
// refusal with its reply.
std::string UrlMailErrorText(const UrlMailFailure& failure);

}  // namespace vigilon
