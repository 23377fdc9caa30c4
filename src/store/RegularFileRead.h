#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vigilon {

enum class FileRead {
    Unreadable,  // absent, or cannot be opened or read: error says why
    NotAFile,    // a folder, FIFO, device...: nothing a save ever wrote
    Read,
};

// At most limit bytes of the regular file at path. The type is checked
// before opening, so that a FIFO or device is never opened, and the opening
// does not block should one be swapped in after the check. The buffer grows
// with what is read, from the size the file had, so a generous limit costs
// nothing for a small file. error is the errno of an Unreadable read.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes,
                         int& error);

}  // namespace vigilon
