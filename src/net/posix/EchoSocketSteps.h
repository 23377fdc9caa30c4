#pragma once

#include <cstdint>
#include <ctime>

#include "EchoSocket.h"

namespace vigilon {

// What Linux's echo sockets of every family do alike.

// Waits until fd can be read, deadlineUs on the monotonic clock passes or
// wake is signalled.
SocketWait WaitToRead(int fd, std::int64_t deadlineUs, WakeHandle wake);

// From now on a send on fd waits up to this long for room. Returns 0 or errno.
int SetSendWait(int fd, std::uint32_t milliseconds);

// What came in before the filters may fill the receive buffer under a
// flood, and the reply would find no room: throws it away unread. Returns
// how many datagrams that was.
int DiscardQueued(int fd);

// Asks for the kernel's receive time of each message (SO_TIMESTAMPNS).
void AskForArrivalStamps(int fd);

// The monotonic time at which a message arrived, from the kernel's stamp of
// it (none: now).
std::int64_t ArrivalUs(const timespec* stamp);

}  // namespace vigilon
