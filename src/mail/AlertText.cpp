#include "AlertText.h"

#include <cstdio>
#include <ctime>

#include "LocalTime.h"

namespace vigilon {

std::string AlertBody(std::int64_t now, const std::string& targetAddress,
                      const std::string& targetStatus, const std::string& controlStatus) {
    const std::time_t when = static_cast<std::time_t>(now);
    LocalTime local;
    char clock[16] = "";
    if (ToLocalTime(when, local))
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", local.fields.tm_hour,
                      local.fields.tm_min, local.fields.tm_sec);
    return std::string("Time: ") + clock + " -- " + targetAddress + " : " + targetStatus +
           "\nControl Address: " + controlStatus;
}

std::string AlertSubject(const std::string& targetAddress, const std::string& targetStatus) {
    return targetAddress + " - " + targetStatus;
}

}  // namespace vigilon
