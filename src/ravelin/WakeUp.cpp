#include "WakeUp.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace vigilon::ravelin {

WakeUp::WakeUp() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void WakeUp::Signal() const {
    const std::uint64_t one = 1;
    // A full counter is already signalled enough.
    [[maybe_unused]] const ssize_t written = write(fd.Get(), &one, sizeof one);
}

}  // namespace vigilon::ravelin
