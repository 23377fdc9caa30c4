#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace vigilon {

// Turns every bare LF and bare CR into CR LF, so that no receiver has to
// guess what a lone line-end character means.
std::string NormaliseLineEnds(std::string_view text);

// Doubles the first character of every line that begins with a dot (lines
// end in CR LF). The receiver strips one leading dot from each line, and a
// lone dot would otherwise end the message early.
std::string StuffDots(std::string_view text);

// RFC 5322 date in local time, "%a, %d %b %Y %H:%M:%S %z" with English day
// and month names whatever the process locale, e.g.
// "Tue, 04 Mar 2025 14:05:09 +0100".
std::string FormatMailDate(std::time_t when);

bool HasLineBreak(std::string_view text);

}  // namespace vigilon
