#include "WakeUp.h"

#include <windows.h>

namespace vigilon::ravelin {

// Manual reset: once set, every wait that watches it ends.
WakeUp::WakeUp() : handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WakeUp::~WakeUp() {
    if (Ok()) ::CloseHandle(handle);
}

void WakeUp::Signal() const { ::SetEvent(handle); }

bool WaitForEither(const WakeUp& first, const WakeUp& second) {
    const HANDLE events[2] = {first.Handle(), second.Handle()};
    return ::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0;
}

}  // namespace vigilon::ravelin
