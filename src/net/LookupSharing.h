#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "IpAddress.h"

namespace vigilon {

// What one resolver call found: the addresses of a name in the resolver's
// order, or the name registered for an address. Empty when it found nothing.
struct LookupAnswer {
    std::vector<IpAddress> addresses;
    std::string name;
};

// Runs resolver calls on helper threads so that a caller waits only until
// its deadline, however long the resolver takes. A caller that gives up
// leaves the helper to finish and free itself; a later caller asking for the
// same key while that helper still runs waits for it instead of starting
// another, so a resolver that never answers holds one helper per key, not
// one per call. A lookup that has ended is never reused: the next call asks
// the resolver again.
class LookupSharing {
public:
    using Clock = std::chrono::steady_clock;
    using ResolverCall = std::function<LookupAnswer()>;

    // The answer of the running lookup of key, or else of resolve started for
    // it; empty when none has come by deadline or no helper could start.
    LookupAnswer Await(const std::string& key, ResolverCall resolve, Clock::time_point deadline);

private:
    struct Pending;

    std::shared_ptr<Pending> JoinOrStart(const std::string& key, ResolverCall resolve);

    std::mutex mutex_;
    // Helpers hold their own Pending and nothing of this object, which may
    // therefore go while they still run; ended entries expire here.
    std::map<std::string, std::weak_ptr<Pending>> running_;
};

}  // namespace vigilon
