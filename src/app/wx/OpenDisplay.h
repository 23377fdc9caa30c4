#pragma once

namespace vigilon::app {

// Opens the toolkit's connection to the display, as the toolkit's own
// start would; false when there is none. Asked before the toolkit starts,
// whose start without a display ends the process with a trace trap.
bool OpenDisplay();

}  // namespace vigilon::app
