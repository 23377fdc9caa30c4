// Blocking work beside the engine's thread: order, and nothing reaching an
// owner that is gone.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "WorkerThread.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

// The engine's thread as a queue the test drains itself.
class QueueDispatcher : public Dispatcher {
public:
    void Post(std::function<void()> task) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
        posted_.notify_all();
    }
    // Waits until count tasks are queued, then runs them; false on a time-out.
    bool RunWhenQueued(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!posted_.wait_for(lock, 5s, [&] { return tasks_.size() >= count; })) return false;
        std::deque<std::function<void()>> ready = std::move(tasks_);
        tasks_.clear();
        lock.unlock();
        for (auto& task : ready)
            task();
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

TEST(WorkerThread, JobsRunAwayFromTheCallerOneAtATimeAndAnswerInOrder) {
    QueueDispatcher engineThread;
    WorkerThread worker(engineThread);
    const std::thread::id caller = std::this_thread::get_id();
    std::mutex mutex;
    std::vector<std::string> steps;  // jobs' starts and ends, as they happen
    std::vector<int> answered;
    bool elsewhere = true;
    for (int job = 0; job < 3; ++job) {
        worker.Run([&, job]() -> std::function<void()> {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (std::this_thread::get_id() == caller) elsewhere = false;
                steps.push_back("start " + std::to_string(job));
            }
            std::this_thread::sleep_for(job == 0 ? 60ms : 5ms);  // the first is the slowest
            std::lock_guard<std::mutex> lock(mutex);
            steps.push_back("end " + std::to_string(job));
            return [job, &answered] { answered.push_back(job); };
        });
    }
    ASSERT_TRUE(engineThread.RunWhenQueued(3));
    EXPECT_TRUE(elsewhere);
    EXPECT_EQ(steps, (std::vector<std::string>{"start 0", "end 0", "start 1", "end 1", "start 2",
                                               "end 2"}));
    EXPECT_EQ(answered, (std::vector<int>{0, 1, 2}));
}

TEST(WorkerThread, AnswersStillQueuedWhenItGoesAreDropped) {
    QueueDispatcher engineThread;
    bool ran = false;
    {
        WorkerThread worker(engineThread);
        worker.Run([&ran]() -> std::function<void()> { return [&ran] { ran = true; }; });
        std::this_thread::sleep_for(100ms);  // the answer is posted, not yet run
    }
    ASSERT_TRUE(engineThread.RunWhenQueued(1));
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vigilon::test
