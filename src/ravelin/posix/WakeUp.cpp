#include "WakeUp.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace vigilon::ravelin {

WakeUp::WakeUp() : handle(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeUp::~WakeUp() {
    if (Ok()) close(handle);
}

void WakeUp::Signal() const {
    const std::uint64_t one = 1;
    // A full counter is already signalled enough.
    [[maybe_unused]] const ssize_t written = write(handle, &one, sizeof one);
}

bool WaitForEither(const WakeUp& first, const WakeUp& second) {
    pollfd waits[2] = {{first.Handle(), POLLIN, 0}, {second.Handle(), POLLIN, 0}};
    while (poll(waits, 2, -1) < 0 && errno == EINTR) {}
    return waits[0].revents != 0;
}

}  // namespace vigilon::ravelin
