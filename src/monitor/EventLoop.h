#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Dispatcher.h"
#include "UniqueFd.h"

namespace vigilon {

// A thread's own event loop without a toolkit: tasks posted from any thread,
// descriptors that became readable and timers, all run on the thread that
// calls Run, one at a time. Between events the thread sleeps in epoll_wait
// and uses no processor time at all.
class EventLoop : public Dispatcher {
public:
    EventLoop();
    ~EventLoop() override;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Empty when the loop could be made, else why not.
    const std::string& Error() const { return error_; }

    // Any thread; the task runs on the loop's thread, in the order posted.
    void Post(std::function<void()> task) override;

    // onReadable runs on the loop's thread whenever fd can be read, until
    // Unwatch. The caller keeps fd open meanwhile. Loop's thread only.
    bool Watch(int fd, std::function<void()> onReadable);
    void Unwatch(int fd);

    // Runs until Quit; returns Quit's code. Loop's thread only.
    int Run();
    // Ends Run once the event in hand is over.
    void Quit(int code);

private:
    void RunPosted();

    UniqueFd epoll_;
    UniqueFd wake_;  // an eventfd: Post's signal to a sleeping loop
    std::mutex posting_;
    std::deque<std::function<void()>> posted_;
    // Shared, so that a handler that unwatches itself finishes safely.
    std::map<int, std::shared_ptr<std::function<void()>>> watched_;
    bool quit_ = false;
    int exitCode_ = 0;
    std::string error_;
};

// A timer on an event loop, over a timerfd on the monotonic clock. Like a
// window timer it fires periodically until stopped, and starting it again
// starts its period afresh; several periods missed fire once.
class LoopTimer {
public:
    LoopTimer(EventLoop& loop, std::function<void()> fired);
    ~LoopTimer();
    LoopTimer(const LoopTimer&) = delete;
    LoopTimer& operator=(const LoopTimer&) = delete;

    void Start(std::uint32_t periodMs, bool repeat = true);
    // A stopped timer never fires, even when its period ran out just before.
    void Stop();

private:
    void OnReadable();

    EventLoop& loop_;
    std::function<void()> fired_;
    UniqueFd timer_;
};

}  // namespace vigilon
