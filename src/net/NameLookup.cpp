#include "NameLookup.h"

#include <chrono>

#include "BoundedLookup.h"
#include "SystemSockets.h"

namespace vigilon {

namespace {

const std::string kCantResolve = "Can't resolve ";

// However many name servers, time-outs and attempts resolv.conf lists (20 s
// per name server unanswered by default, minutes with options), the monitor
// waits no longer than this for a name or an address.
constexpr std::chrono::seconds kLookupLimit{10};

LookupClock::time_point LookupDeadline() { return LookupClock::now() + kLookupLimit; }

// The address text as the reverse lookup takes it.
IpAddress ParsedForReverse(const std::string& text) {
    in6_addr v6{};
    if (inet_pton(AF_INET6, text.c_str(), &v6) == 1) return IpAddress::V6(v6);
    in_addr v4{};
    v4.s_addr = inet_addr(text.c_str());  // INADDR_NONE for unparsable text
    return IpAddress::V4(v4);
}

}  // namespace

bool ResolveFirstAddress(const std::string& host, IpAddress& address) {
    const std::vector<IpAddress> found = ResolveAddresses(host, LookupDeadline());
    if (found.empty()) return false;
    address = found.front();
    return true;
}

LookupOutcome LookupAddress(const std::string& host) {
    IpAddress address;
    if (!ResolveFirstAddress(host, address)) return {false, kCantResolve + host};
    return {true, address.Text()};
}

LookupOutcome LookupName(const std::string& address) {
    const std::string name = ResolveName(ParsedForReverse(address), LookupDeadline());
    if (name.empty()) return {false, kCantResolve + address};
    return {true, name};
}

}  // namespace vigilon
