#include "NameLookup.h"

#include <arpa/inet.h>

#include <chrono>

#include "BoundedLookup.h"
#include "IpAddress.h"

namespace vigilon {

namespace {

const std::string kCantResolve = "Can't resolve ";

// However many name servers, time-outs and attempts resolv.conf lists (20 s
// per name server unanswered by default, minutes with options), the monitor
// waits no longer than this for a name or an address.
constexpr std::chrono::seconds kLookupLimit{10};

LookupClock::time_point LookupDeadline() { return LookupClock::now() + kLookupLimit; }

}  // namespace

bool ResolveFirstAddress(const std::string& host, in_addr& address) {
    const std::vector<in_addr> found = ResolveAddresses(host, LookupDeadline());
    if (found.empty()) return false;
    address = found.front();
    return true;
}

LookupOutcome LookupAddress(const std::string& host) {
    in_addr address{};
    if (!ResolveFirstAddress(host, address)) return {false, kCantResolve + host};
    return {true, Dotted(address)};
}

LookupOutcome LookupName(const std::string& address) {
    in_addr parsed{};
    parsed.s_addr = inet_addr(address.c_str());  // INADDR_NONE for unparsable text
    const std::string name = ResolveName(parsed, LookupDeadline());
    if (name.empty()) return {false, kCantResolve + address};
    return {true, name};
}

}  // namespace vigilon
