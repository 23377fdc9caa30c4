#pragma once

#include <string>

#include "Dispatcher.h"
#include "GuardedDispatcher.h"
#include "ProblemReport.h"

namespace vigilon::app {

// Takes reports on any thread (a worker's log line, the engine's probe
// failure) and hands them to the window's thread, where shown tells the
// user. Reports still on their way when it goes are dropped.
class PostedProblems : public ProblemReport {
public:
    PostedProblems(Dispatcher& windowThread, ProblemReport& shown)
        : windowThread_(windowThread), shown_(shown) {}

    void Report(const std::string& text, MessageIcon icon) override {
        windowThread_.Post([this, text, icon] { shown_.Report(text, icon); });
    }

private:
    GuardedDispatcher windowThread_;
    ProblemReport& shown_;
};

}  // namespace vigilon::app
