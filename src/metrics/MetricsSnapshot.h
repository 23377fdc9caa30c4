#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace vigilon::metrics {

// The latest exposition text, made on the engine's thread and read by the
// endpoint's: a scrape takes the text as it stands, never waits for the
// engine, and never sees half of an update.
class MetricsSnapshot {
public:
    MetricsSnapshot() : text_(std::make_shared<const std::string>()) {}

    void Publish(std::string text) {
        auto published = std::make_shared<const std::string>(std::move(text));
        std::lock_guard<std::mutex> lock(mutex_);
        text_.swap(published);
    }
    std::shared_ptr<const std::string> Current() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const std::string> text_;
};

}  // namespace vigilon::metrics
