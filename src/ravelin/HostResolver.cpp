#include "HostResolver.h"

#include <atomic>
#include <memory>
#include <thread>

#include "NameLookup.h"
#include "SystemSockets.h"

namespace vigilon::ravelin {

namespace {

// Shared by the caller and the resolver's thread; the last one to let go
// closes the wake-up.
struct Lookup {
    enum State { Pending, Found, Unknown };
    std::string host;
    IpAddress address;
    std::atomic<State> state{Pending};
    WakeUp done;
};

// An address written out needs no resolver, and no thread to wait for it.
bool ParseAddress(const std::string& host, IpAddress& address) {
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        address = IpAddress::V4(v4);
        return true;
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        address = IpAddress::V6(v6);
        return true;
    }
    return false;
}

}  // namespace

Resolution ResolveHost(const std::string& host, const WakeUp& stop, IpAddress& address) {
    if (ParseAddress(host, address)) return Resolution::Resolved;
    auto lookup = std::make_shared<Lookup>();
    lookup->host = host;
    if (!lookup->done.Ok()) return Resolution::Unknown;
    std::thread([lookup] {
        const bool found = ResolveFirstAddress(lookup->host, lookup->address);
        lookup->state.store(found ? Lookup::Found : Lookup::Unknown, std::memory_order_release);
        lookup->done.Signal();
    }).detach();

    if (WaitForEither(stop, lookup->done)) return Resolution::Stopped;
    if (lookup->state.load(std::memory_order_acquire) != Lookup::Found) return Resolution::Unknown;
    address = lookup->address;
    return Resolution::Resolved;
}

}  // namespace vigilon::ravelin
