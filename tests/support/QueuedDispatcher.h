#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

#include "Dispatcher.h"

namespace vigilon::test {

// The engine's thread as a test plays it: tasks posted from any thread
// wait in a queue until the test runs them on its own thread.
class QueuedDispatcher : public Dispatcher {
public:
    void Post(std::function<void()> task) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        posted_.notify_all();
    }

    // Runs the tasks posted so far, oldest first; returns how many ran.
    int RunPosted() {
        int ran = 0;
        while (std::function<void()> task = Take()) {
            task();
            ++ran;
        }
        return ran;
    }

    // Runs tasks as they are posted until done holds; false when it still
    // does not after limit.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto giveUp = std::chrono::steady_clock::now() + limit;
        for (;;) {
            RunPosted();
            if (done()) return true;
            std::unique_lock<std::mutex> lock(mutex_);
            if (!posted_.wait_until(lock, giveUp, [&] { return !tasks_.empty(); })) return done();
        }
    }

    std::size_t Pending() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return tasks_.size();
    }

private:
    std::function<void()> Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (tasks_.empty()) return nullptr;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        return task;
    }

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace vigilon::test
