#pragma once

#include <string>

namespace vigilon::test {

// How the window manager holds a top-level window of this process, found by
// its title among the windows it manages.
enum class XWindowState { NotManaged, Normal, Iconic };

XWindowState StateOfWindowTitled(const std::string& title);

}  // namespace vigilon::test
