// A connect that the peer never answers, on Linux: a listener whose full
// accept queue drops further SYNs (Windows refuses them instead).
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "CSMTP.h"

namespace vigilon {
namespace {

using namespace std::chrono_literals;

// A listener whose accept queue is full and which never accepts: further
// SYNs are dropped, so a connect neither succeeds nor fails on its own.
class FullListener {
public:
    FullListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        ::listen(fd_, 0);
        socklen_t length = sizeof sa;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length);
        port_ = ntohs(sa.sin_port);
        // Fill the queue until a connect stays pending.
        for (int i = 0; i < 16; ++i) {
            int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            fillers_.push_back(c);
            ::connect(c, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
            pollfd p{c, POLLOUT, 0};
            if (::poll(&p, 1, 200) == 0) break;
        }
    }
    ~FullListener() {
        for (int c : fillers_)
            ::close(c);
        ::close(fd_);
    }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

TEST(SmtpConnect, UnansweredConnectTimesOut) {
    FullListener listener;
    CSMTP client("127.0.0.1", listener.Port(), {300ms, 300ms});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.GetLastErrorText(), "Unable to connect to server");
    // Bounded by the limit, not by the kernel's own retries.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

}  // namespace
}  // namespace vigilon
