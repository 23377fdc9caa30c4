#include "ProbeResult.h"

#include <cctype>
#include <string_view>

namespace vigilon {

bool IsAnswer(const std::string& result) {
    // "%d bytes from %s: icmp_seq = %d.  time: %d ms": a count, then the words.
    std::size_t digits = 0;
    while (digits < result.size() && std::isdigit(static_cast<unsigned char>(result[digits])))
        ++digits;
    if (digits == 0) return false;
    return std::string_view(result).substr(digits).starts_with(" bytes from ");
}

bool IsTimedOut(std::int32_t& counter, const std::string& result) {
    if (IsAnswer(result)) return false;
    ++counter;
    return true;
}

std::string StatusWord(const std::string& result) {
    return IsAnswer(result) ? "ONLINE" : "OFFLINE";
}

}  // namespace vigilon
