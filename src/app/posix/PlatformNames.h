#pragma once

#include <string_view>

namespace vigilon::app {

// How this platform names programs and separates a PATH-style list.
inline constexpr std::string_view kProgramFileSuffix = "";
inline constexpr char kPathListSeparator = ':';
// The search list execvp uses when PATH is not set.
inline constexpr std::string_view kDefaultSearchPath = "/bin:/usr/bin";

}  // namespace vigilon::app
