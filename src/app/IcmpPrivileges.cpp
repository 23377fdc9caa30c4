#include "IcmpPrivileges.h"

#include <unistd.h>

#include <climits>

#include "EchoSocket.h"

namespace vigilon::app {

namespace {

std::string ProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "path/to/vigilon";
    return std::string(path, static_cast<std::size_t>(length));
}

}  // namespace

bool SystemIcmpCheck::CanOpenIcmpSocket() {
    const std::unique_ptr<EchoSocket> socket = NewSystemEchoSocket(IpFamily::V4);
    return socket && socket->Open() == 0;
}

std::string IcmpUnavailableMessage() {
    return "Vigilon cannot open an ICMP socket, so no ping can be sent.\n\n"
           "Either give the program the raw-socket capability:\n\n"
           "    sudo setcap cap_net_raw+ep " + ProgramPath() + "\n\n"
           "or let every group use unprivileged ICMP sockets:\n\n"
           "    sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"";
}

}  // namespace vigilon::app
