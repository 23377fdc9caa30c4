#include "LookupSharing.h"

#include <pthread.h>

#include <condition_variable>
#include <system_error>
#include <thread>

namespace vigilon {

// Shared by the helper and every caller waiting for it; the last of them to
// let go frees it.
struct LookupSharing::Pending {
    ResolverCall resolve;
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    LookupAnswer answer;

    void Run() {
        LookupAnswer found = resolve();
        {
            std::lock_guard lock(mutex);
            answer = std::move(found);
            finished = true;
        }
        ended.notify_all();
    }

    bool Finished() {
        std::lock_guard lock(mutex);
        return finished;
    }

    // The helper holds its own share, so nobody has to wait for it to end.
    static bool Start(const std::shared_ptr<Pending>& lookup) {
        try {
            std::thread([lookup] {
                pthread_setname_np(pthread_self(), "name-lookup");
                lookup->Run();
            }).detach();
            return true;
        } catch (const std::system_error&) {
            return false;  // out of threads: the lookup counts as not found
        }
    }
};

LookupAnswer LookupSharing::Await(const std::string& key, ResolverCall resolve,
                                  Clock::time_point deadline) {
    const std::shared_ptr<Pending> lookup = JoinOrStart(key, std::move(resolve));
    if (!lookup) return {};
    std::unique_lock lock(lookup->mutex);
    if (!lookup->ended.wait_until(lock, deadline, [&] { return lookup->finished; })) return {};
    return lookup->answer;
}

std::shared_ptr<LookupSharing::Pending> LookupSharing::JoinOrStart(const std::string& key,
                                                                   ResolverCall resolve) {
    std::lock_guard lock(mutex_);
    std::erase_if(running_, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<Pending>& slot = running_[key];
    if (std::shared_ptr<Pending> running = slot.lock(); running && !running->Finished())
        return running;
    auto lookup = std::make_shared<Pending>();
    lookup->resolve = std::move(resolve);
    if (!Pending::Start(lookup)) return nullptr;
    slot = lookup;
    return lookup;
}

}  // namespace vigilon
