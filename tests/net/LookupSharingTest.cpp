// Sharing and abandoning helper lookups, with resolver calls that the test
// holds and releases instead of a real resolver.

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "LookupSharing.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;
using Clock = LookupSharing::Clock;

// A resolver that answers name only once released, counting its calls.
// Helper threads hold it, so it outlives a test that gave up on them.
class HeldResolver {
public:
    static LookupSharing::ResolverCall Call(const std::shared_ptr<HeldResolver>& held,
                                            const std::string& name) {
        return [held, name] {
            std::unique_lock lock(held->mutex_);
            ++held->calls_;
            held->changed_.wait(lock, [&] { return held->released_; });
            return LookupAnswer{{}, name};
        };
    }

    void Release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
    }

    int Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int calls_ = 0;
};

LookupSharing::ResolverCall Answering(const std::string& name) {
    return [name] { return LookupAnswer{{}, name}; };
}

long MsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(LookupSharingTest, CallsForARunningLookupWaitForItAndAnEndedOneIsAskedAgain) {
    LookupSharing lookups;
    auto held = std::make_shared<HeldResolver>();

    auto start = Clock::now();
    EXPECT_EQ(lookups.Await("forward a", HeldResolver::Call(held, "first"), start + 200ms).name,
              "");
    EXPECT_GE(MsSince(start), 200);
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(held->Calls(), 1);

    // Another key is not held up by the silent one.
    EXPECT_EQ(lookups.Await("forward b", Answering("other"), Clock::now() + 5s).name, "other");

    // Released while the second caller waits, the first call answers both;
    // a call of its own would have answered "second" at once.
    std::thread releaser([held] {
        std::this_thread::sleep_for(300ms);
        held->Release();
    });
    start = Clock::now();
    EXPECT_EQ(lookups.Await("forward a", Answering("second"), start + 5s).name, "first");
    EXPECT_GE(MsSince(start), 250);
    releaser.join();
    EXPECT_EQ(held->Calls(), 1);

    EXPECT_EQ(lookups.Await("forward a", Answering("third"), Clock::now() + 5s).name, "third");
}

TEST(LookupSharingTest, AnAbandonedHelperFreesItsLookupWhenTheResolverReturns) {
    auto held = std::make_shared<HeldResolver>();
    auto token = std::make_shared<int>(0);
    {
        LookupSharing lookups;  // gone before the helper ends, which must not need it
        LookupSharing::ResolverCall call = [held, token] {
            return HeldResolver::Call(held, "late")();
        };
        EXPECT_EQ(lookups.Await("reverse 10.0.0.1", std::move(call), Clock::now() + 50ms).name, "");
    }
    EXPECT_GT(token.use_count(), 1) << "the helper still holds its lookup";
    held->Release();
    const auto start = Clock::now();
    while (token.use_count() > 1 && MsSince(start) < 5000)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
}  // namespace vigilon::test
