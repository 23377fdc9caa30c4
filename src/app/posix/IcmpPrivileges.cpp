#include "IcmpPrivileges.h"

#include "EchoSocket.h"
#include "IcmpRemedies.h"

namespace vigilon::app {

bool SystemIcmpCheck::CanOpenIcmpSocket() {
    const std::unique_ptr<EchoSocket> socket = NewSystemEchoSocket(IpFamily::V4);
    return socket && socket->Open() == 0;
}

std::string IcmpUnavailableMessage() {
    return "Vigilon cannot open an ICMP socket, so no ping can be sent.\n\n" +
           IcmpRemedies(OwnProgramPath("path/to/vigilon"));
}

}  // namespace vigilon::app
