#pragma once

// A mail server that takes every connection on address:25 inside a
// namespace and never says a word, as one whose mail system is wedged. It
// runs in a child process that this object starts and kills by its process
// id, and tells through a pipe of every connection it took and every one
// its client closed.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "NetNamespace.h"

namespace vigilon::test {

class StalledSmtpServer {
public:
    StalledSmtpServer(const NetNamespace& space, const std::string& address) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return;
        const std::string namespacePath = "/var/run/netns/" + space.Name();
        in_addr listenAddress{};
        ::inet_pton(AF_INET, address.c_str(), &listenAddress);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            Serve(namespacePath.c_str(), listenAddress, ends[1]);
        }
        ::close(ends[1]);
        reports_ = ends[0];
        // The child writes 'R' once its port is bound, or ends.
        pollfd bound{reports_, POLLIN, 0};
        char marker = 0;
        ready_ = pid_ > 0 && ::poll(&bound, 1, 5000) == 1 && ::read(reports_, &marker, 1) == 1 &&
                 marker == 'R';
        ::fcntl(reports_, F_SETFL, O_NONBLOCK);
    }

    ~StalledSmtpServer() { Stop(); }

    StalledSmtpServer(const StalledSmtpServer&) = delete;
    StalledSmtpServer& operator=(const StalledSmtpServer&) = delete;

    bool Ok() const { return ready_; }

    // Connections taken, and those of them that the client has closed.
    int Accepted() {
        ReadReports();
        return accepted_;
    }
    int ClosedByClient() {
        ReadReports();
        return closed_;
    }

    // Frees the port (for a real server to take it).
    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (reports_ >= 0) {
            ::close(reports_);
            reports_ = -1;
        }
    }

private:
    void ReadReports() {
        char report[64];
        ssize_t got = 0;
        while (reports_ >= 0 && (got = ::read(reports_, report, sizeof report)) > 0) {
            for (ssize_t i = 0; i < got; ++i) {
                accepted_ += report[i] == 'A';
                closed_ += report[i] == 'C';
            }
        }
    }

    // System calls only: the parent may have other threads.
    [[noreturn]] static void Serve(const char* namespacePath, in_addr listenAddress, int reports) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // gone with a test that crashed
        const int space = ::open(namespacePath, O_RDONLY | O_CLOEXEC);
        if (space < 0 || ::setns(space, CLONE_NEWNET) != 0) ::_exit(1);
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(25);
        address.sin_addr = listenAddress;
        if (listener < 0 ||
            ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 8) != 0)
            ::_exit(1);
        if (::write(reports, "R", 1) != 1) ::_exit(1);
        constexpr int kMost = 32;
        pollfd watched[kMost + 1];
        int count = 1;
        watched[0] = {listener, POLLIN, 0};
        for (;;) {
            if (::poll(watched, count, -1) < 0) continue;
            for (int i = count - 1; i >= 1; --i) {
                if (watched[i].revents == 0) continue;
                char ignored[512];
                if (::recv(watched[i].fd, ignored, sizeof ignored, 0) > 0)
                    continue;  // heard, never answered
                ::close(watched[i].fd);
                watched[i] = watched[--count];
                if (::write(reports, "C", 1) != 1) ::_exit(1);
            }
            if ((watched[0].revents & POLLIN) != 0) {
                const int connection = ::accept(listener, nullptr, nullptr);
                if (connection < 0) continue;
                if (count > kMost) {
                    ::close(connection);
                    continue;
                }
                watched[count++] = {connection, POLLIN, 0};
                if (::write(reports, "A", 1) != 1) ::_exit(1);
            }
        }
    }

    pid_t pid_ = -1;
    int reports_ = -1;
    bool ready_ = false;
    int accepted_ = 0;
    int closed_ = 0;
};

}  // namespace vigilon::test
