#pragma once

#include <netinet/in.h>

#include <string>

#include "WakeUp.h"

namespace vigilon::ravelin {

enum class Resolution { Resolved, Unknown, Stopped };

// The host's IPv4 address: a dotted address at once, a name through the
// system resolver. The resolver cannot be interrupted, so it runs on a thread
// of its own, which is left to finish by itself when stop is signalled
// first; nothing of the caller's is touched after that.
Resolution ResolveHost(const std::string& host, const WakeUp& stop, in_addr& address);

}  // namespace vigilon::ravelin
