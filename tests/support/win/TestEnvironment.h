#pragma once

#include <cstdlib>
#include <ctime>

namespace vigilon::test {

// The environment as tests change it: one header for each platform. The C
// runtime's copy is the one its functions (getenv, localtime_s) read; an
// empty value removes a variable.
inline void PutVariable(const char* name, const char* value) { ::_putenv_s(name, value); }
inline void RemoveVariable(const char* name) { ::_putenv_s(name, ""); }
inline void ReadTimeZone() { ::_tzset(); }

}  // namespace vigilon::test
