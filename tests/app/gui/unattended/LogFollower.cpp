#include "LogFollower.h"

#include <time.h>

#include <filesystem>
#include <fstream>

namespace vigilon::test {

namespace {

// "%m/%d/%y %H:%M:%S " opens every line.
constexpr std::size_t kStampLength = 18;

std::int64_t StampSeconds(const std::string& line) {
    tm parts{};
    const char* end = ::strptime(line.c_str(), "%m/%d/%y %H:%M:%S", &parts);
    return end == nullptr ? 0 : static_cast<std::int64_t>(::timegm(&parts));
}

}  // namespace

void LogFollower::SkipToEnd() {
    std::error_code missing;
    const std::uintmax_t size = std::filesystem::file_size(path_, missing);
    offset_ = missing ? 0 : size;
    partial_.clear();
}

void LogFollower::Poll() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    in.seekg(static_cast<std::streamoff>(offset_));
    std::string grown((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    offset_ += grown.size();
    partial_ += grown;
    const Clock::time_point now = Clock::now();
    std::size_t end = 0;
    while ((end = partial_.find("\r\n")) != std::string::npos) {
        const std::string line = partial_.substr(0, end);
        partial_.erase(0, end + 2);
        entries_.push_back(
            {now, StampSeconds(line), line.size() > kStampLength ? line.substr(kStampLength) : ""});
    }
}

std::vector<LogFollower::Entry> LogFollower::Matching(
    const std::function<bool(const std::string&)>& match, std::size_t from) const {
    std::vector<Entry> found;
    for (std::size_t i = from; i < entries_.size(); ++i)
        if (match(entries_[i].message)) found.push_back(entries_[i]);
    return found;
}

std::vector<std::string> LogFollower::Messages() const {
    std::vector<std::string> messages;
    for (const Entry& entry : entries_)
        messages.push_back(entry.message);
    return messages;
}

}  // namespace vigilon::test
