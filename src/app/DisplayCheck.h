#pragma once

#include <string>

namespace vigilon::app {

// The one line a program says on standard error when it finds no display
// to open a window on (an SSH session, a cron job, a server): which
// variables it looked at and what they held.
std::string NoDisplayMessage(const std::string& program, const char* x11Display,
                             const char* waylandDisplay);

// The exit status after that message.
inline constexpr int kNoDisplayExitCode = 1;

}  // namespace vigilon::app
