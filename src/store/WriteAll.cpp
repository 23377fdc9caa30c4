#include "WriteAll.h"

#include <unistd.h>
#include <cerrno>

namespace vigilon {

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

int WriteAll(int fd, const std::string& text) {
    return WriteAll(fd, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace vigilon
