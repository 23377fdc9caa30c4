#include "IcmpPrivileges.h"

#include "IcmpRemedies.h"
#include "IcmpSocket.h"

namespace vigilon::app {

bool SystemIcmpCheck::CanOpenIcmpSocket() {
    IcmpSocket socket;
    return socket.Open() == 0;
}

std::string IcmpUnavailableMessage() {
    return "Vigilon cannot open an ICMP socket, so no ping can be sent.\n\n" +
           IcmpRemedies(OwnProgramPath("path/to/vigilon"));
}

}  // namespace vigilon::app
