#pragma once

// A name server that reads every query sent to 127.0.0.1:53 inside a
// namespace and never answers, as one that cannot be reached. It runs in a
// child process that this object starts and kills by its process id.

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "NetNamespace.h"

namespace vigilon::test {

class SilentNameServer {
public:
    explicit SilentNameServer(const NetNamespace& space) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            Serve("/var/run/netns/" + space.Name(), ends[1]);
        }
        ::close(ends[1]);
        // The child writes one byte once its port is bound, or ends.
        pollfd bound{ends[0], POLLIN, 0};
        char marker = 0;
        ready_ = pid_ > 0 && ::poll(&bound, 1, 5000) == 1 && ::read(ends[0], &marker, 1) == 1;
        ::close(ends[0]);
    }

    ~SilentNameServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    SilentNameServer(const SilentNameServer&) = delete;
    SilentNameServer& operator=(const SilentNameServer&) = delete;

    bool Ok() const { return ready_; }

private:
    [[noreturn]] static void Serve(const std::string& namespacePath, int ready) {
        const int space = ::open(namespacePath.c_str(), O_RDONLY | O_CLOEXEC);
        if (space < 0 || ::setns(space, CLONE_NEWNET) != 0) ::_exit(1);
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(53);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(1);
        if (::write(ready, "R", 1) != 1) ::_exit(1);
        ::close(ready);
        char query[512];
        for (;;)
            ::recv(fd, query, sizeof query, 0);
    }

    pid_t pid_ = -1;
    bool ready_ = false;
};

}  // namespace vigilon::test
