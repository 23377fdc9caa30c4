#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vigilon::test {

// A rectangle on the root window.
struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The icon docked in the tray: a shown window announcing XEmbed whose
// parent is one of the tray's sockets, not the root window.
std::optional<ScreenRect> DockedTrayIcon();

// Runs xdotool with the given arguments while the toolkit keeps running, so
// that a menu or window it acts on can answer; false when it failed or hung.
bool RunXdotool(std::vector<std::string> argv);

// xdotool's arguments for clicking button ("1", "3") repeat times at the
// middle of rect, 80 ms apart, after the pointer has rested there.
std::vector<std::string> ClickAt(const ScreenRect& rect, const char* button, int repeat = 1);

}  // namespace vigilon::test
