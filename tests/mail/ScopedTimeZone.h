#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "TestEnvironment.h"

namespace vigilon::test {

// Runs a test in a given POSIX time zone and restores the old one after.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        PutVariable("TZ", zone);
        ReadTimeZone();
    }
    ~ScopedTimeZone() {
        if (old_)
            PutVariable("TZ", old_->c_str());
        else
            RemoveVariable("TZ");
        ReadTimeZone();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> old_;
};

}  // namespace vigilon::test
