// Which echo socket Windows offers for each address family.
#include "EchoSocket.h"
#include "IcmpEchoSocket.h"

namespace vigilon {

// IPv6 (Icmp6SendEcho2) is not offered yet: its requests are reported as
// the family the system cannot ping.
std::unique_ptr<EchoSocket> NewSystemEchoSocket(IpFamily family) {
    if (family == IpFamily::V4) return std::make_unique<IcmpEchoSocket>();
    return nullptr;
}

}  // namespace vigilon
