#include "DesktopLauncher.h"

#include "DesktopLauncherReports.h"

namespace vigilon {

DesktopLauncher::DesktopLauncher(Dispatcher& windowThread) : reports_(std::make_shared<Reports>()) {
    reports_->windowThread = &windowThread;
}

DesktopLauncher::~DesktopLauncher() {
    reports_->alive = false;
    std::lock_guard<std::mutex> lock(reports_->mutex);
    reports_->windowThread = nullptr;
}

}  // namespace vigilon
