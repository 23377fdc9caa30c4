#pragma once

#include <cstdlib>
#include <ctime>

namespace vigilon::test {

// The environment as tests change it: one header for each platform.
inline void PutVariable(const char* name, const char* value) { ::setenv(name, value, 1); }
inline void RemoveVariable(const char* name) { ::unsetenv(name); }
// After TZ changed.
inline void ReadTimeZone() { ::tzset(); }

}  // namespace vigilon::test
