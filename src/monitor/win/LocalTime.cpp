#include "LocalTime.h"

#include <windows.h>

namespace vigilon {

// The offset comes from the zone that localtime_s used, so that the clock
// and the offset of a Date header always agree: Windows' own zone
// (GetTimeZoneInformation), or the TZ variable when one is set, which the
// C runtime honours and GetTimeZoneInformation does not.
bool ToLocalTime(std::time_t when, LocalTime& local) {
    if (::localtime_s(&local.fields, &when) != 0) return false;
    std::tm copy = local.fields;
    const std::time_t asIfUtc = ::_mkgmtime(&copy);
    if (asIfUtc == static_cast<std::time_t>(-1)) return false;
    local.utcOffsetSeconds = static_cast<long>(asIfUtc - when);
    return true;
}

}  // namespace vigilon
