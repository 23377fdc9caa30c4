#include "MetricsServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cerrno>
#include <vector>

#include "ErrorText.h"
#include "HttpExchange.h"

namespace vigilon::metrics {

namespace {

using Clock = std::chrono::steady_clock;

struct Client {
    UniqueFd socket;
    Clock::time_point deadline;
    std::string received;
    std::string response;  // once the head is complete
    std::size_t sent = 0;
};

// Reads what is there; false when the client is done for (closed, failed).
bool ReadFrom(Client& client, const MetricsSnapshot& snapshot) {
    char chunk[2048];
    const ssize_t got = ::recv(client.socket.Get(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EINTR;
    client.received.append(chunk, static_cast<std::size_t>(got));
    switch (ReadRequestState(client.received)) {
        case RequestState::Incomplete: break;
        case RequestState::Complete:
            client.response = RespondTo(client.received, *snapshot.Current());
            break;
        case RequestState::TooLong: client.response = TooLongResponse(); break;
    }
    return true;
}

// Sends what the socket takes; false when the client is done for, the
// response complete included.
bool WriteTo(Client& client) {
    const ssize_t sent = ::send(client.socket.Get(), client.response.data() + client.sent,
                                client.response.size() - client.sent, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) return errno == EAGAIN || errno == EINTR;
    client.sent += static_cast<std::size_t>(sent);
    if (client.sent < client.response.size()) return true;
    ::shutdown(client.socket.Get(), SHUT_WR);
    return false;
}

}  // namespace

MetricsServer::MetricsServer(MetricsSnapshot& snapshot, ServerLimits limits)
    : snapshot_(snapshot), limits_(limits) {}

MetricsServer::~MetricsServer() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof one);
        thread_.join();
    }
}

std::string MetricsServer::Start(const ListenAddress& address) {
    const int family = address.address.ss_family;
    listener_ = UniqueFd(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    stop_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!listener_ || !stop_) return "cannot open a socket: " + ErrorText(errno);
    const int on = 1;
    ::setsockopt(listener_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (family == AF_INET6)
        ::setsockopt(listener_.Get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    if (::bind(listener_.Get(), reinterpret_cast<const sockaddr*>(&address.address),
               address.length) != 0)
        return "cannot listen on " + address.shown + ": " + ErrorText(errno);
    if (::listen(listener_.Get(), 16) != 0)
        return "cannot listen on " + address.shown + ": " + ErrorText(errno);

    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
    port_ = ntohs(family == AF_INET6 ? reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port
                                     : reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
    thread_ = std::thread([this] { Serve(); });
    return {};
}

void MetricsServer::Serve() {
    pthread_setname_np(pthread_self(), "metrics-http");
    std::vector<Client> clients;
    std::vector<pollfd> watched;
    while (true) {
        watched.clear();
        watched.push_back({stop_.Get(), POLLIN, 0});
        // A full house leaves newcomers in the kernel's queue until one goes.
        watched.push_back({clients.size() < limits_.connections ? listener_.Get() : -1, POLLIN, 0});
        Clock::time_point nextDeadline = Clock::time_point::max();
        for (const Client& client : clients) {
            watched.push_back({client.socket.Get(),
                               static_cast<short>(client.response.empty() ? POLLIN : POLLOUT), 0});
            nextDeadline = std::min(nextDeadline, client.deadline);
        }
        int timeoutMs = -1;
        if (!clients.empty()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(nextDeadline - Clock::now());
            timeoutMs =
                static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()) + 1);
        }
        if (::poll(watched.data(), watched.size(), timeoutMs) < 0 && errno != EINTR) return;
        if (watched[0].revents != 0) return;

        // Clients first, by their place in watched; those done for go.
        const Clock::time_point now = Clock::now();
        std::vector<Client> kept;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            Client& client = clients[i];
            const short events = watched[i + 2].revents;
            bool alive = now < client.deadline;
            if (alive && (events & (POLLERR | POLLNVAL)) != 0) alive = false;
            if (alive && client.response.empty() && (events & (POLLIN | POLLHUP)) != 0)
                alive = ReadFrom(client, snapshot_);
            if (alive && !client.response.empty() && (events & POLLOUT) != 0)
                alive = WriteTo(client);
            // A complete head is answered in the same turn when the socket takes it.
            if (alive && !client.response.empty() && client.sent == 0 && (events & POLLOUT) == 0)
                alive = WriteTo(client);
            if (alive) kept.push_back(std::move(client));
        }
        clients.swap(kept);

        if ((watched[1].revents & POLLIN) != 0) {
            while (clients.size() < limits_.connections) {
                UniqueFd socket(
                    ::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
                if (!socket) break;
                clients.push_back({std::move(socket), Clock::now() + limits_.exchange, {}, {}, 0});
            }
        }
    }
}

}  // namespace vigilon::metrics
