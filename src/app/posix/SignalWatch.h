#pragma once

#include <functional>
#include <string>

#include "EventLoop.h"
#include "UniqueFd.h"

namespace vigilon::app {

// SIGTERM, SIGINT and SIGHUP as events of the loop's thread, read from a
// signalfd: what they start (the exit sequence, a reload) runs between two
// steps of the engine, never inside one as a handler would.
class SignalWatch {
public:
    // Blocks the three for the calling thread and every thread it starts
    // afterwards, so that none of them takes a signal meant for the loop.
    // Called before any thread is started.
    static void BlockWatchedSignals();

    SignalWatch(EventLoop& loop, std::function<void(int signal)> received);
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Empty when the signals are watched, else why not.
    const std::string& Error() const { return error_; }

private:
    void OnReadable();

    EventLoop& loop_;
    std::function<void(int)> received_;
    UniqueFd signals_;
    std::string error_;
};

}  // namespace vigilon::app
