#pragma once

#include <memory>
#include <thread>

#include "Dispatcher.h"
#include "MonitorPorts.h"

namespace vigilon {

// BackgroundWork on a thread of its own: jobs run there one at a time, and
// what each returns is posted to the engine's thread through dispatcher.
// Going away, it waits for the job in hand (lookups and probes are bounded)
// and drops the jobs not started and every continuation not yet run, so
// nothing reaches an engine that is gone.
class WorkerThread : public BackgroundWork {
public:
    // name (15 characters at most) is the thread's, as ps and top show it.
    explicit WorkerThread(Dispatcher& dispatcher, const char* name = "worker");
    ~WorkerThread() override;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Run(Job job) override;

private:
    struct Shared;
    static void Work(std::shared_ptr<Shared> shared, Dispatcher& dispatcher, const char* name);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace vigilon
