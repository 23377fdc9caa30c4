#pragma once

#include <cstdint>

namespace vigilon {

// The wall clock, in whole seconds since 1970. A fake in tests.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual std::int64_t Now() = 0;
};

}  // namespace vigilon
