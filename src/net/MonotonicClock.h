#pragma once

#include <cstdint>

namespace vigilon {

// Milliseconds of the monotonic clock, cut to 32 bits: the probe's timestamp
// and round-trip time, immune to changes of the wall clock.
std::uint32_t MonotonicMs();

// Microseconds of the monotonic clock: round-trip times below a millisecond.
std::int64_t MonotonicUs();

}  // namespace vigilon
