#pragma once

#include <sys/types.h>

#include <string>

namespace vigilon::test {

// How the window manager holds a top-level window of this process, found by
// its title among the windows it manages.
enum class XWindowState { NotManaged, Normal, Iconic };

XWindowState StateOfWindowTitled(const std::string& title);

// The same for a window of another process (a program the test started).
XWindowState StateOfWindowTitled(pid_t pid, const std::string& title);

// Asks that process's window to close, as its close box does (the window
// manager's WM_DELETE_WINDOW); false when no such window is managed.
bool CloseWindowTitled(pid_t pid, const std::string& title);

}  // namespace vigilon::test
