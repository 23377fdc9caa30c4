#include "EchoSocketSteps.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>

#include "MonotonicClock.h"

namespace vigilon {

SocketWait WaitToRead(int fd, std::int64_t deadlineUs, WakeHandle wake) {
    const std::int64_t leftUs = std::max<std::int64_t>(0, deadlineUs - MonotonicUs());
    const timespec timeout{static_cast<time_t>(leftUs / 1000000),
                           static_cast<long>(leftUs % 1000000) * 1000};
    pollfd waits[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    const int polled = ppoll(waits, wake == kNoWake ? 1 : 2, &timeout, nullptr);
    if (polled < 0) {
        if (errno == EINTR) return {};
        return {SocketWait::End::Failed, errno};
    }
    if (wake != kNoWake && waits[1].revents != 0) return {SocketWait::End::Woken, 0};
    if (waits[0].revents != 0) return {SocketWait::End::Readable, 0};
    return {};
}

int SetSendWait(int fd, std::uint32_t milliseconds) {
    const timeval wait{static_cast<time_t>(milliseconds / 1000),
                       static_cast<suseconds_t>((milliseconds % 1000) * 1000)};
    if (setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait) != 0) return errno;
    return 0;
}

int DiscardQueued(int fd) {
    std::uint8_t discard;
    int count = 0;
    while (recv(fd, &discard, 1, MSG_DONTWAIT | MSG_TRUNC) >= 0)
        ++count;
    return count;
}

void AskForArrivalStamps(int fd) {
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

// The kernel stamps arrivals by the wall clock. Only the short span since the
// stamp is measured on it, so the round trip stays on the monotonic clock; a
// span that makes no sense (the wall clock was set meanwhile) counts as none.
std::int64_t ArrivalUs(const timespec* stamp) {
    const std::int64_t nowUs = MonotonicUs();
    if (stamp == nullptr) return nowUs;
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    const std::int64_t agoUs = (static_cast<std::int64_t>(wall.tv_sec) - stamp->tv_sec) * 1000000 +
                               (wall.tv_nsec - stamp->tv_nsec) / 1000;
    return agoUs >= 0 && agoUs < 1000000 ? nowUs - agoUs : nowUs;
}

}  // namespace vigilon
