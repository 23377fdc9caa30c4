#pragma once

#include <string_view>

namespace vigilon::app {

// How this platform names programs and separates a PATH-style list.
inline constexpr std::string_view kProgramFileSuffix = ".exe";
inline constexpr char kPathListSeparator = ';';
// Windows always has PATH; the system folder stands in when it is gone.
inline constexpr std::string_view kDefaultSearchPath = "C:\\Windows\\System32";

}  // namespace vigilon::app
