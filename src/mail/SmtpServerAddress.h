#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

enum class SmtpSecurity {
    Plain,        // a bare host: plain SMTP on the caller's port, no login
    StartTls,     // smtp://, TLS through STARTTLS before anything else is sent
    ImplicitTls,  // smtps://, TLS from the first byte
};

// One SMTP server field of the settings as it is used: either a bare host
// name or dotted address, or a URL
//   smtp://[user[:password]@]host[:port][/helo-name]   (port 587)
//   smtps://[user[:password]@]host[:port][/helo-name]  (port 465)
// with percent-escapes in user and password. The host is a name or address
// that a URL can carry as it is (UrlHost.h), or an IPv6 address in brackets.
// `display` is what every log line, error text and window shows: the field
// without its password.
struct SmtpServerAddress {
    static constexpr std::int32_t kSubmissionPort = 587;
    static constexpr std::int32_t kSubmissionsPort = 465;

    // Never fails; a URL that cannot be used says why in `error`.
    static SmtpServerAddress Parse(const std::string& field);

    bool IsUrl() const { return security != SmtpSecurity::Plain; }

    SmtpSecurity security = SmtpSecurity::Plain;
    std::string host;          // a bare host: the whole field, as written;
                               // an IPv6 address without its brackets
    std::int32_t port = 0;     // 0 for a bare host, whose port the caller knows
    std::string user;          // decoded; empty without a login
    std::string password;      // decoded
    bool hasPassword = false;  // false: the password comes from ~/.netrc
    std::string heloName;      // the URL's path without its '/', may be empty
    std::string display;
    std::string error;  // empty when the field can be used
};

// The field as it may be shown: without the password of a login in it.
std::string ShownServer(const std::string& field);

}  // namespace vigilon
