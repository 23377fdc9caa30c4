#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "TestEnvironment.h"

namespace vigilon::test {

// Sets (or, given nothing, removes) one environment variable for a scope
// and restores what it was after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value)
            PutVariable(name_.c_str(), value->c_str());
        else
            RemoveVariable(name_.c_str());
    }

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace vigilon::test
