#include "LocalTime.h"

namespace vigilon {

bool ToLocalTime(std::time_t when, LocalTime& local) {
    if (::localtime_r(&when, &local.fields) == nullptr) return false;
    local.utcOffsetSeconds = local.fields.tm_gmtoff;
    return true;
}

}  // namespace vigilon
