#include "ProbeResult.h"

namespace vigilon {

bool IsTimedOut(std::int32_t& counter, const std::string& result) {
    if (result != kTimedOut) return false;
    ++counter;
    return true;
}

std::string StatusWord(const std::string& result) {
    return result == kTimedOut ? "OFFLINE" : "ONLINE";
}

}  // namespace vigilon
