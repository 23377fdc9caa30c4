// Which echo socket the system offers for each address family: where IPv6
// and other platforms' sockets are added.

#include "EchoSocket.h"
#include "Ipv4EchoSocket.h"

namespace vigilon {

std::unique_ptr<EchoSocket> NewSystemEchoSocket(IpFamily family) {
    if (family == IpFamily::V4) return std::make_unique<Ipv4EchoSocket>();
    return nullptr;
}

}  // namespace vigilon
