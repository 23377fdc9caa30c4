#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vigilon::test {

// A program's window pinged as a window manager pings it (_NET_WM_PING),
// again and again, with how long each answer took: the window's thread
// answers only when it is free to run its events.
class WindowAnswers {
public:
    WindowAnswers(pid_t pid, std::string title) : pid_(pid), title_(std::move(title)) {}

    // One ping, waiting at most limit for the answer. False when none came
    // (or no such window is managed).
    bool Ping(std::chrono::milliseconds limit = std::chrono::seconds(3));

    // Answer times in milliseconds, in the order of the pings.
    const std::vector<double>& Millis() const { return millis_; }
    int Unanswered() const { return unanswered_; }
    double Median() const;
    double Worst() const;
    // Forgets what was measured, for the next stretch.
    void Clear();

private:
    pid_t pid_;
    std::string title_;
    std::vector<double> millis_;
    int unanswered_ = 0;
};

}  // namespace vigilon::test
