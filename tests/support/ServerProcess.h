#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vigilon::test {

// A free TCP port on address (a loopback address of either family), for a
// server to take.
int FreePort(const std::string& address);

// A server program run for a test. Start returns once the program accepts
// TCP connections on address:port; the destructor stops it with SIGTERM
// and waits for it, as Stop does.
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // argv[0] is the program's path. Its standard output and error go to
    // logFile; without one, the output is dropped and errors are shown.
    // False when it does not start or exits first.
    bool Start(const std::vector<std::string>& argv, const std::string& address, int port,
               const std::string& logFile = "");
    void Stop();

private:
    pid_t pid_ = -1;
};

}  // namespace vigilon::test
