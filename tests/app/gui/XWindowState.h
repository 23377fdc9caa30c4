#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vigilon::test {

// How the window manager holds a top-level window of this process, found by
// its title among the windows it manages.
enum class XWindowState { NotManaged, Normal, Iconic };

XWindowState StateOfWindowTitled(const std::string& title);

// The actions the window manager offers for that window of this process
// (_NET_WM_ALLOWED_ACTIONS, such as "_NET_WM_ACTION_MAXIMIZE_HORZ"); empty
// when no such window is managed.
std::vector<std::string> AllowedActionsOfWindowTitled(const std::string& title);

// The same for a window of another process (a program the test started).
XWindowState StateOfWindowTitled(pid_t pid, const std::string& title);

// How many windows of that process with that title the manager holds
// (message boxes share one title).
int CountWindowsTitled(pid_t pid, const std::string& title);

// Asks that process's window to close, as its close box does (the window
// manager's WM_DELETE_WINDOW); false when no such window is managed.
bool CloseWindowTitled(pid_t pid, const std::string& title);

// Pings that process's window as a window manager does (_NET_WM_PING) and
// returns how long its answer took; nullopt when no such window is managed
// or no answer came within limit.
std::optional<std::chrono::microseconds> PingWindowTitled(pid_t pid, const std::string& title,
                                                          std::chrono::milliseconds limit);

}  // namespace vigilon::test
