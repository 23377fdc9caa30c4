#include "RegularFileRead.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "UniqueFd.h"

namespace vigilon {

FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes,
                         int& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = errno;
        return FileRead::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) return FileRead::NotAFile;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        error = errno;
        return FileRead::Unreadable;
    }
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileRead::NotAFile;
    // One byte past the size sees a file that grew since; the limit holds all the same.
    const std::size_t expected = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(std::min(expected + 1, limit));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled == limit) break;
            bytes.resize(std::min(bytes.size() * 2, limit));
        }
        ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errno;
            return FileRead::Unreadable;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return FileRead::Read;
}

}  // namespace vigilon
