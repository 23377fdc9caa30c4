#include "HostLookup.h"

#include <netdb.h>
#include <signal.h>

#include <cstring>
#include <memory>

namespace vigilon {

namespace {

using Clock = std::chrono::steady_clock;

// One asynchronous lookup. The resolver thread writes into it until the
// lookup ends, so it lives as long as either the caller or the completion
// notice still holds it.
struct PendingLookup {
    std::string host;
    std::string service;
    addrinfo hints{};
    gaicb request{};

    ~PendingLookup() {
        if (request.ar_result != nullptr) ::freeaddrinfo(request.ar_result);
    }
};

using LookupHold = std::shared_ptr<PendingLookup>;

// Runs on a thread of the resolver's when the lookup has ended.
void ReleaseLookup(sigval value) { delete static_cast<LookupHold*>(value.sival_ptr); }

std::vector<sockaddr_in> Addresses(const addrinfo* list) {
    std::vector<sockaddr_in> addresses;
    for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        sockaddr_in address;
        std::memcpy(&address, a->ai_addr, sizeof address);
        addresses.push_back(address);
    }
    return addresses;
}

addrinfo StreamHints(int flags) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | flags;
    return hints;
}

// A dotted address, read without asking any resolver; false for a name.
bool LookupNumeric(const std::string& host, const std::string& service,
                   std::vector<sockaddr_in>& addresses) {
    const addrinfo hints = StreamHints(AI_NUMERICHOST);
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return false;
    addresses = Addresses(found);
    ::freeaddrinfo(found);
    return true;
}

timespec TimeLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
    const long long ns = left.count() > 0 ? left.count() : 0;
    return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

std::vector<sockaddr_in> LookupIPv4(const std::string& host, int port, Clock::time_point deadline) {
    std::vector<sockaddr_in> addresses;
    if (host.empty()) return addresses;  // nothing a resolver could answer
    const std::string service = std::to_string(port);
    if (LookupNumeric(host, service, addresses)) return addresses;

    auto lookup = std::make_shared<PendingLookup>();
    lookup->host = host;
    lookup->service = service;
    lookup->hints = StreamHints(0);
    lookup->request.ar_name = lookup->host.c_str();
    lookup->request.ar_service = lookup->service.c_str();
    lookup->request.ar_request = &lookup->hints;

    // The completion notice holds its own share, released when it runs.
    sigevent done{};
    done.sigev_notify = SIGEV_THREAD;
    done.sigev_notify_function = &ReleaseLookup;
    auto* noticeHold = new LookupHold(lookup);
    done.sigev_value.sival_ptr = noticeHold;

    gaicb* requests[] = {&lookup->request};
    if (::getaddrinfo_a(GAI_NOWAIT, requests, 1, &done) != 0) {
        delete noticeHold;  // never queued, so no notice will come
        return addresses;
    }
    while (::gai_error(&lookup->request) == EAI_INPROGRESS) {
        if (Clock::now() >= deadline) {
            // A lookup taken off the queue before it started sends no notice.
            if (::gai_cancel(&lookup->request) == EAI_CANCELED) delete noticeHold;
            return addresses;
        }
        const timespec left = TimeLeft(deadline);
        ::gai_suspend(requests, 1, &left);
    }
    if (::gai_error(&lookup->request) == 0) addresses = Addresses(lookup->request.ar_result);
    return addresses;
}

}  // namespace vigilon
