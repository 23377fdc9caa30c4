#pragma once

#include <string>

#include "IpAddress.h"
#include "WakeUp.h"

namespace vigilon::ravelin {

enum class Resolution { Resolved, Unknown, Stopped };

// The host's address: an IPv4 or IPv6 address written out at once, a name
// through the system resolver, whose first address of either family is
// taken, as ping takes it. The resolver cannot be interrupted, so it runs on a thread
// of its own, which is left to finish by itself when stop is signalled
// first; nothing of the caller's is touched after that.
Resolution ResolveHost(const std::string& host, const WakeUp& stop, IpAddress& address);

}  // namespace vigilon::ravelin
