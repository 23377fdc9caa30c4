#include "WorkerThread.h"

#include <pthread.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace vigilon {

struct WorkerThread::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool stopping = false;  // read by continuations on the engine's thread too
};

WorkerThread::WorkerThread(Dispatcher& dispatcher, const char* name)
    : shared_(std::make_shared<Shared>()), thread_(Work, shared_, std::ref(dispatcher), name) {}

WorkerThread::~WorkerThread() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->stopping = true;
        shared_->jobs.clear();
    }
    shared_->wake.notify_all();
    thread_.join();
}

void WorkerThread::Run(Job job) {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->jobs.push_back(std::move(job));
    }
    shared_->wake.notify_one();
}

void WorkerThread::Work(std::shared_ptr<Shared> shared, Dispatcher& dispatcher, const char* name) {
    pthread_setname_np(pthread_self(), name);
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->stopping || !shared->jobs.empty(); });
        if (shared->stopping) return;
        Job job = std::move(shared->jobs.front());
        shared->jobs.pop_front();
        lock.unlock();
        std::function<void()> then = job();
        lock.lock();
        // Posted under the lock, so that none is posted once the owner has
        // started to go; the dispatcher outlives the owner.
        if (shared->stopping || !then) continue;
        dispatcher.Post([shared, then = std::move(then)] {
            {
                std::lock_guard<std::mutex> check(shared->mutex);
                if (shared->stopping) return;
            }
            then();
        });
    }
}

}  // namespace vigilon
