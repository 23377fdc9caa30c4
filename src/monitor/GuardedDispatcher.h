#pragma once

#include <atomic>
#include <memory>

#include "Dispatcher.h"

namespace vigilon {

// Posts through another dispatcher on behalf of an owner that may go first:
// tasks still queued when it is destroyed are dropped instead of reaching
// the owner. It is destroyed on the thread that runs the tasks, and the
// dispatcher it posts through outlives it.
class GuardedDispatcher : public Dispatcher {
public:
    explicit GuardedDispatcher(Dispatcher& through)
        : through_(through), alive_(std::make_shared<std::atomic<bool>>(true)) {}
    ~GuardedDispatcher() override { *alive_ = false; }
    GuardedDispatcher(const GuardedDispatcher&) = delete;
    GuardedDispatcher& operator=(const GuardedDispatcher&) = delete;

    void Post(std::function<void()> task) override {
        through_.Post([alive = alive_, task = std::move(task)] {
            if (*alive) task();
        });
    }

private:
    Dispatcher& through_;
    std::shared_ptr<std::atomic<bool>> alive_;
};

}  // namespace vigilon
