#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vigilon::ravelin {

// The spool's file, one file for each platform (posix/, win/): opened for
// reading and writing in folder, readable by its owner alone, and gone when
// it is closed or the process ends, however it ends. A C runtime
// descriptor, or -1 with errno.
int OpenSpoolFile(const std::string& folder);

// Reads up to size bytes from offset: the count, 0 at the end, -1 with errno.
std::int64_t ReadSpoolAt(int fd, void* buffer, std::size_t size, std::int64_t offset);

}  // namespace vigilon::ravelin
