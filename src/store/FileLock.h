#pragma once

namespace vigilon {

// Takes an exclusive lock on the whole of the open file fd without waiting
// (flock; LockFileEx on Windows). The system lets it go when fd is closed
// or the process ends, however it ends. Returns 0, EWOULDBLOCK when
// another opening holds it, or the errno that stopped it.
int LockWholeFile(int fd);

}  // namespace vigilon
