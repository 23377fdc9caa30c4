#pragma once

#include <string>

#include "SmtpServerAddress.h"

namespace vigilon {

// The URL libcurl is given for a server, built from the parsed parts, each
// written as its place needs, never from the field as typed.
struct CurlUrl {
    std::string text;
    std::string error;  // empty when text can be used
};

// Never the password: libcurl is given it apart. The user only when the
// password is to come from ~/.netrc, which libcurl matches by host and
// user, percent-escaped. A host that a URL cannot carry as it is is refused,
// not passed on. The path names this machine in EHLO: ehloName.
CurlUrl CurlUrlFor(const SmtpServerAddress& server, const std::string& ehloName);

}  // namespace vigilon
