#pragma once

#include "UniqueFd.h"

namespace vigilon::ravelin {

// An event file descriptor that a wait can poll beside its sockets, so that
// another thread can end the wait at once. Signalling it is safe from any
// thread, also from a stop callback.
class WakeUp {
public:
    WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    bool Ok() const { return static_cast<bool>(fd); }
    int Fd() const { return fd.Get(); }
    void Signal() const;

private:
    UniqueFd fd;
};

}  // namespace vigilon::ravelin
