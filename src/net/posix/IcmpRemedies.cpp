#include "IcmpRemedies.h"

#include <unistd.h>

#include <climits>

namespace vigilon {

std::string IcmpRemedies(const std::string& programPath) {
    return "Either give the program the raw-socket capability (again after every rebuild):\n\n"
           "    sudo setcap cap_net_raw+ep " +
           programPath +
           "\n\n"
           "or let every group use unprivileged ICMP sockets (net.ipv4.ping_group_range):\n\n"
           "    sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"";
}

std::string OwnProgramPath(const std::string& fallback) {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return fallback;
    return std::string(path, static_cast<std::size_t>(length));
}

}  // namespace vigilon
