#pragma once

#include <string>

#include "UniqueFd.h"

namespace vigilon {

// The lock file that marks a folder as taken by a running copy of the program.
inline constexpr const char* kLockFileName = "Vigilon.lock";

enum class LockResult {
    Held,    // this process holds the lock now
    Busy,    // another process holds it
    Failed,  // the lock file could not be opened, or is not one to use; see Error()
};

// One folder, one monitor: an exclusive lock on a lock file, held for as
// long as this object lives and released by the kernel when the process
// ends, however it ends, so a crash leaves no stale lock behind. The file
// itself stays: removing it would let a third copy lock a new file while
// the second still holds the old one.
class InstanceLock {
public:
    // Never waits. The descriptor is closed on exec, so programs started
    // by this one (the log viewer, the ping tool) do not keep the lock. A
    // link in the file's place is followed only as OpenDataFile allows
    // (DataFileOpen.h), and only a regular file is locked.
    LockResult Acquire(const std::string& path);
    bool Held() const { return static_cast<bool>(fd_); }
    // Why the last Acquire failed, for a message.
    const std::string& Error() const { return error_; }

private:
    UniqueFd fd_;
    std::string error_;
};

}  // namespace vigilon
