#include "WindowAnswers.h"

#include <algorithm>

#include "XWindowState.h"

namespace vigilon::test {

bool WindowAnswers::Ping(std::chrono::milliseconds limit) {
    const auto took = PingWindowTitled(pid_, title_, limit);
    if (!took) {
        ++unanswered_;
        return false;
    }
    millis_.push_back(std::chrono::duration<double, std::milli>(*took).count());
    return true;
}

double WindowAnswers::Median() const {
    if (millis_.empty()) return 0;
    std::vector<double> sorted = millis_;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
}

double WindowAnswers::Worst() const {
    return millis_.empty() ? 0 : *std::max_element(millis_.begin(), millis_.end());
}

void WindowAnswers::Clear() {
    millis_.clear();
    unanswered_ = 0;
}

}  // namespace vigilon::test
