#pragma once

namespace vigilon::app {

// Whether the toolkit will find a display: a Wayland compositor answering
// on WAYLAND_DISPLAY's socket, or an X server that lets this process in on
// DISPLAY. Asked before the toolkit starts, whose start without a display
// ends the process with a trace trap, and without starting it (the
// toolkit's own start must come first).
bool DisplayAvailable();

}  // namespace vigilon::app
