#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "DesktopLauncher.h"

namespace vigilon {

// Failures on their way from the watching threads to the window's thread.
// Posting stops, under the lock, once the launcher has gone, and a report
// already posted checks that it is still wanted when it runs.
struct DesktopLauncher::Reports {
    std::mutex mutex;
    Dispatcher* windowThread = nullptr;  // null once the launcher has gone
    bool alive = true;                   // read and written on the window's thread

    void Post(const std::shared_ptr<Reports>& self, std::function<void()> report) {
        std::lock_guard<std::mutex> lock(mutex);
        if (windowThread == nullptr) return;
        windowThread->Post([self, report = std::move(report)] {
            if (self->alive) report();
        });
    }
};

}  // namespace vigilon
