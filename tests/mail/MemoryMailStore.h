#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "WaitingMailStore.h"

namespace vigilon::test {

// The waiting list kept in memory, every save recorded. Saves come from
// the outbox's thread as well as the test's.
class MemoryMailStore : public WaitingMailStore {
public:
    std::vector<AlertEvent> Load(std::string& error) override {
        std::lock_guard<std::mutex> lock(mutex_);
        error = loadError_;
        return kept_;
    }
    std::string Save(const std::vector<AlertEvent>& mails) override {
        std::lock_guard<std::mutex> lock(mutex_);
        saves_.push_back(mails);
        if (saveError_.empty()) kept_ = mails;
        return saveError_;
    }

    std::vector<std::vector<AlertEvent>> Saves() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return saves_;
    }
    std::vector<AlertEvent> Kept() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return kept_;
    }
    // What the next load finds, as a file left by an earlier run.
    void LeftByEarlierRun(std::vector<AlertEvent> kept, std::string loadError) {
        std::lock_guard<std::mutex> lock(mutex_);
        kept_ = std::move(kept);
        loadError_ = std::move(loadError);
    }
    void FailSaves(const std::string& error) {
        std::lock_guard<std::mutex> lock(mutex_);
        saveError_ = error;
    }

private:
    mutable std::mutex mutex_;
    std::vector<AlertEvent> kept_;
    std::string loadError_;
    std::string saveError_;
    std::vector<std::vector<AlertEvent>> saves_;
};

}  // namespace vigilon::test
