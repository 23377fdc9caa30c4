#pragma once

#include "WakeHandle.h"

namespace vigilon::ravelin {

// A signal that a wait can watch beside its sockets, so that another thread
// can end the wait at once: an event descriptor on Linux, an event on
// Windows (posix/ and win/). Signalling it is safe from any thread, also
// from a stop callback; it stays signalled.
class WakeUp {
public:
    WakeUp();
    ~WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    bool Ok() const { return handle != kNoWake; }
    // What the echo socket's wait watches.
    WakeHandle Handle() const { return handle; }
    void Signal() const;

private:
    WakeHandle handle = kNoWake;
};

// Waits until first or second is signalled; true when it was first (also
// when both were).
bool WaitForEither(const WakeUp& first, const WakeUp& second);

}  // namespace vigilon::ravelin
