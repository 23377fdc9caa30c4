#pragma once

#include <string>

#include "ShellPorts.h"

namespace vigilon::app {

// Opens, and closes again, an ICMP socket of either kind.
class SystemIcmpCheck : public IcmpCheck {
public:
    bool CanOpenIcmpSocket() override;
};

// What to tell a user whose pings cannot be sent: the two remedies, with
// this program's own path in the first.
std::string IcmpUnavailableMessage();

}  // namespace vigilon::app
