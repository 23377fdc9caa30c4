#pragma once

#include <condition_variable>
#include <mutex>

namespace vigilon::test {

// Holds a worker at one point of its work until the test lets it go, so
// that the test can look at everything else meanwhile. Opened when it goes,
// so that a failed test never leaves a worker waiting.
class Gate {
public:
    ~Gate() { Open(); }

    // On the worker: says it has come, then waits to be let through.
    void Arrive() {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
    }
    bool Arrived() {
        std::lock_guard<std::mutex> lock(mutex_);
        return arrived_;
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool arrived_ = false;
    bool open_ = false;
};

}  // namespace vigilon::test
