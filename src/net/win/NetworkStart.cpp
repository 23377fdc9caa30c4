#include "NetworkStart.h"

#include <mutex>

#include "SystemSockets.h"

namespace vigilon {

// Winsock 2.2, started once for the process and never stopped: the process
// ends with it.
int StartNetwork() {
    static std::once_flag started;
    static int result = 0;
    std::call_once(started, [] {
        WSADATA data{};
        result = ::WSAStartup(MAKEWORD(2, 2), &data);
    });
    return result;
}

}  // namespace vigilon
