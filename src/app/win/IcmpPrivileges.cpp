#include "IcmpPrivileges.h"

#include "EchoSocket.h"
#include "NetworkStart.h"

namespace vigilon::app {

// Windows' echo service needs no privilege; what can fail is the start of
// Winsock, or the service itself.
bool SystemIcmpCheck::CanOpenIcmpSocket() {
    if (StartNetwork() != 0) return false;
    const std::unique_ptr<EchoSocket> socket = NewSystemEchoSocket(IpFamily::V4);
    return socket && socket->Open() == 0;
}

std::string IcmpUnavailableMessage() {
    if (StartNetwork() != 0) return "Sentrel could not find a usable WinSock DLL.";
    return "Vigilon cannot open Windows' ICMP echo service (iphlpapi.dll), so no ping can be "
           "sent.";
}

}  // namespace vigilon::app
