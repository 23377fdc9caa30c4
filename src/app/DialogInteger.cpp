#include "DialogInteger.h"

#include <limits>

namespace vigilon::app {

namespace {

constexpr std::size_t kReadLimit = 31;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseDialogInteger(const std::string& text, std::int32_t& value) {
    const std::string head = text.substr(0, kReadLimit);
    std::size_t at = 0;
    while (at < head.size() && IsBlank(head[at]))
        ++at;
    const char first = at < head.size() ? head[at] : '\0';

    bool negative = false;
    std::size_t pos = at;
    if (pos < head.size() && (head[pos] == '+' || head[pos] == '-')) negative = head[pos++] == '-';
    const std::size_t digitsStart = pos;
    // Accumulated beyond the 32-bit range only as far as needed to clamp.
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = -std::int64_t{std::numeric_limits<std::int32_t>::min()};
    std::int64_t magnitude = 0;
    while (pos < head.size() && IsDigit(head[pos])) {
        if (magnitude <= kMin) magnitude = magnitude * 10 + (head[pos] - '0');
        ++pos;
    }
    // Without digits nothing was read: the number ends where it started.
    if (pos == digitsStart) pos = at;

    std::int64_t number = negative ? -magnitude : magnitude;
    if (number > kMax) number = kMax;
    if (number < -kMin) number = -kMin;

    if (number == 0 && first != '0') return false;
    for (std::size_t rest = pos; rest < head.size(); ++rest)
        if (!IsBlank(head[rest])) return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

}  // namespace vigilon::app
