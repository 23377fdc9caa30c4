#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// The right-hand side of a Message-ID: the sender's domain when it is a
// plain dot-atom, else this machine's HELO name, else "localhost".
std::string MessageIdDomain(const std::string& from, const std::string& heloName);

// "<left@domain>". The left part is made of key, a number that tells the
// message apart (the same for every try of one message, so that a mail
// sent twice is known as one), and the time.
std::string MakeMessageId(std::uint64_t key, std::int64_t time, const std::string& domain);

// A number no other message of this machine is likely to share.
std::uint64_t RandomMessageKey();

}  // namespace vigilon
