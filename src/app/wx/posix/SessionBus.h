#pragma once

namespace vigilon::app {

// True when the desktop's session bus is known (its address given, or the
// user's bus socket in the runtime folder). Without one, the D-Bus library
// would start a bus of its own on the X display, on which neither a tray nor
// a notification service can be.
bool SessionBusKnown();

// True when a StatusNotifierWatcher owns its name on the session bus and
// says that a host shows its items. Asks with a short time-out, so a hung
// watcher costs a second at most.
bool StatusNotifierHostPresent();

}  // namespace vigilon::app
