// Why a ping socket could not be opened on Linux: mostly for want of
// privileges, which the user can grant.
#include <cerrno>

#include "ErrorText.h"
#include "IcmpRemedies.h"
#include "PingWorker.h"

namespace vigilon::ravelin {

std::string SocketFailureMessage(int error, const std::string& programPath) {
    if (error != EPERM && error != EACCES)
        return "Cannot open an ICMP socket: " + ErrorText(error) + " (error " +
               std::to_string(error) + ").";
    const std::string program = programPath.empty() ? "path/to/ravelin" : programPath;
    return "Ravelin may not send pings (error " + std::to_string(error) +
           "): a raw ICMP socket needs root or the CAP_NET_RAW capability, and the datagram ICMP "
           "socket is not open to this user's groups.\n\n" +
           IcmpRemedies(program);
}

}  // namespace vigilon::ravelin
