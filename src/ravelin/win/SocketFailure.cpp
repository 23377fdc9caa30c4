// Why an echo handle could not be opened on Windows: every user may open
// one, so the reason is Windows' own.
#include "ErrorText.h"
#include "PingWorker.h"

namespace vigilon::ravelin {

std::string SocketFailureMessage(int error, const std::string&) {
    return "Cannot open Windows' ICMP echo: " + ErrorText(error) + " (error " +
           std::to_string(error) + ").";
}

}  // namespace vigilon::ravelin
