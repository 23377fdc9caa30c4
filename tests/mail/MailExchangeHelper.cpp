// Opens one SMTP connection in the calling process's network namespace and
// prints the outcome, so tests can run it through `ip netns exec`, where the
// namespace's own resolver files apply. A HOST given as an smtp:// or
// smtps:// URL gets a whole delivery through it instead (PORT unused).
//
//   mail_exchange_helper [--silent-resolver] HOST PORT CONNECT_MS EXCHANGE_MS
//
// Output lines: "result: TEXT" ("connected", "delivered" or the error text),
// "elapsed: MS", and "resolver: asked" when a query reached the silent
// resolver. --silent-resolver takes the name server's port, UDP 53 on
// 127.0.0.1, and never answers, as a name server that cannot be reached.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CSMTP.h"
#include "ServerDelivery.h"

using namespace vigilon;

namespace {

int TakeResolverPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    return fd;
}

bool QueryArrived(int fd) {
    pollfd ready{fd, POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0;
}

std::string Connect(const std::string& host, int port, const SmtpTimeouts& timeouts) {
    CSMTP client(host, port, timeouts);
    return client.Connect() ? "connected" : client.GetLastErrorText();
}

std::string Deliver(const std::string& url, const SmtpTimeouts& timeouts) {
    CNotifyMail message;
    message.from = "watch@vigilon.test";
    message.AddRecipient("ops@vigilon.test", "");
    message.body = "test";
    const MailOutcome outcome = SendMailThrough(url, message, CSMTP::kSmtpPort, timeouts);
    return outcome.delivered ? "delivered" : outcome.errorText;
}

}  // namespace

int main(int argc, char** argv) {
    int next = 1;
    int resolver = -1;
    if (next < argc && std::strcmp(argv[next], "--silent-resolver") == 0) {
        ++next;
        resolver = TakeResolverPort();
        if (resolver < 0) {
            std::perror("cannot take the name server's port");
            return 2;
        }
    }
    if (argc - next != 4) {
        std::fprintf(stderr,
                     "usage: mail_exchange_helper [--silent-resolver] HOST PORT CONNECT_MS "
                     "EXCHANGE_MS\n");
        return 2;
    }
    SmtpTimeouts timeouts;
    timeouts.connect = std::chrono::milliseconds(std::atol(argv[next + 2]));
    timeouts.exchange = std::chrono::milliseconds(std::atol(argv[next + 3]));
    const std::string host = argv[next];
    const int port = std::atoi(argv[next + 1]);

    const auto start = std::chrono::steady_clock::now();
    const std::string result = host.find("://") != std::string::npos
                                   ? Deliver(host, timeouts)
                                   : Connect(host, port, timeouts);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("result: %s\nelapsed: %ld\n", result.c_str(), static_cast<long>(elapsed.count()));
    if (resolver >= 0 && QueryArrived(resolver)) std::printf("resolver: asked\n");
    return 0;
}
