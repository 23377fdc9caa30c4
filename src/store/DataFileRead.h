#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DataFileOpen.h"

namespace vigilon {

// At most limit bytes of the regular file at path, opened by OpenDataFile
// (so a FIFO or device is never opened, nor a link another user planted).
// The outcome is the opening's; an Open one has been read into bytes, and a
// read that failed is Failed with its errno. The buffer grows with what is
// read, from the size the file had, so a generous limit costs nothing for a
// small file.
DataFile ReadDataFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes);

// The same read through any links, under the kernel's checks alone: for a
// file that is only read and whose content a planted plain file could give
// just as well. Still never opens a FIFO or device.
DataFile ReadDataFileThroughLinks(const std::string& path, std::size_t limit,
                                  std::vector<std::uint8_t>& bytes);

}  // namespace vigilon
