#pragma once

#include "Dispatcher.h"
#include "GuardedDispatcher.h"
#include "SettingsSelfTest.h"

namespace vigilon::app {

// A self-test view for a run on a worker: each call is handed to the
// window's thread, in order, where view shows it. Calls still on their way
// when it goes are dropped.
class PostedSelfTestView : public SelfTestView {
public:
    PostedSelfTestView(Dispatcher& windowThread, SelfTestView& view)
        : windowThread_(windowThread), view_(view) {}

    void BeginRun() override {
        windowThread_.Post([this] { view_.BeginRun(); });
    }
    void ShowResults(const SelfTestResults& results) override {
        windowThread_.Post([this, results] { view_.ShowResults(results); });
    }
    void EndRun() override {
        windowThread_.Post([this] { view_.EndRun(); });
    }

private:
    GuardedDispatcher windowThread_;
    SelfTestView& view_;
};

}  // namespace vigilon::app
