#pragma once

#include <string>

namespace vigilon {

// One addressee: the mailbox that goes between the angle brackets of RCPT,
// and the display text shown in front of it in the To header (may be empty).
struct MailRecipient {
    std::string address;
    std::string name;
};

}  // namespace vigilon
