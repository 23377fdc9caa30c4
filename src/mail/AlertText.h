#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// "Time: 14:05:09 -- host : OFFLINE\nControl Address: ONLINE", the time in
// local time. The client turns the LF into CR LF on the wire.
std::string AlertBody(std::int64_t now, const std::string& targetAddress,
                      const std::string& targetStatus, const std::string& controlStatus);

// "host - OFFLINE"
std::string AlertSubject(const std::string& targetAddress, const std::string& targetStatus);

}  // namespace vigilon
