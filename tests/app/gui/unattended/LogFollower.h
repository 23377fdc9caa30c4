#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vigilon::test {

// Reads a program's Vigilon.log while it grows, noting when each line was
// first seen, so that a test can tell the rhythm of the lines to the
// fraction of a second the file's time stamps cannot.
class LogFollower {
public:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        Clock::time_point seen;
        std::int64_t stamp = 0;  // the line's own time, read as UTC
        std::string message;
    };

    explicit LogFollower(std::string path) : path_(std::move(path)) {}

    // Leaves what the file holds now unread: the lines of an earlier run.
    void SkipToEnd();
    // Takes the whole lines written since the last call.
    void Poll();
    const std::vector<Entry>& Entries() const { return entries_; }
    // The entries, from the index-th on, whose message satisfies match.
    std::vector<Entry> Matching(const std::function<bool(const std::string&)>& match,
                                std::size_t from = 0) const;
    std::vector<std::string> Messages() const;

private:
    std::string path_;
    std::uint64_t offset_ = 0;
    std::string partial_;
    std::vector<Entry> entries_;
};

}  // namespace vigilon::test
