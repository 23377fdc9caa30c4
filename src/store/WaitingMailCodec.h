#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "AlertEvent.h"

namespace vigilon {

// The bytes of the waiting-mail file, version 1:
//
//   Vigilon waiting mail 1\n
//   <number of mails>\n
//   then for each mail, oldest first:
//   <alert|recovery> <event time> <outage start>\n
//   <n>:<n bytes>\n   five times: target address, target result,
//                     control result, sender, recipients
//
// Numbers are decimal. Each text is counted in bytes and stored as it is,
// so empty texts, line breaks and any 8-bit bytes come back unchanged.
inline constexpr const char* kWaitingMailMagic = "Vigilon waiting mail ";
inline constexpr int kWaitingMailVersion = 1;

// The most of the file a load reads: many thousand mails, and still a
// bound on what a damaged or foreign file can make the program allocate.
inline constexpr std::size_t kMaxWaitingMailBytes = std::size_t{16} << 20;

std::vector<std::uint8_t> EncodeWaitingMails(const std::vector<AlertEvent>& mails);

struct WaitingMailDecode {
    std::vector<AlertEvent> mails;  // the whole mails before any damage
    std::string damage;             // empty, or what is wrong with the rest
};

// Never reads past bytes and allocates no more than they hold, whatever a
// damaged count or length says.
WaitingMailDecode DecodeWaitingMails(std::span<const std::uint8_t> bytes);

}  // namespace vigilon
