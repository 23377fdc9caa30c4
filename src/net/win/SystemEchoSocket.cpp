// Which echo socket Windows offers for each address family.
#include "EchoSocket.h"
#include "Ipv4EchoSocket.h"
#include "Ipv6EchoSocket.h"

namespace vigilon {

std::unique_ptr<EchoSocket> NewSystemEchoSocket(IpFamily family) {
    if (family == IpFamily::V4) return std::make_unique<Ipv4EchoSocket>();
    if (family == IpFamily::V6) return std::make_unique<Ipv6EchoSocket>();
    return nullptr;
}

}  // namespace vigilon
