#include "DataFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "ErrorText.h"

namespace vigilon {

namespace {

DataFile ReadOpened(DataFile file, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    if (file.state != DataFile::State::Open) return file;
    struct stat info {};
    const int fd = file.fd.Get();
    // One byte past the size sees a file that grew since; the limit holds all the same.
    const bool sized = ::fstat(fd, &info) == 0 && info.st_size > 0;
    const std::size_t expected = sized ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(std::min(expected + 1, limit));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled == limit) break;
            bytes.resize(std::min(bytes.size() * 2, limit));
        }
        ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            file.state = DataFile::State::Failed;
            file.error = errno;
            file.problem = ErrorText(errno);
            bytes.clear();
            return file;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return file;
}

}  // namespace

DataFile ReadDataFile(const std::string& path, std::size_t limit,
                      std::vector<std::uint8_t>& bytes) {
    return ReadOpened(OpenDataFile(path, O_RDONLY), limit, bytes);
}

DataFile ReadDataFileThroughLinks(const std::string& path, std::size_t limit,
                                  std::vector<std::uint8_t>& bytes) {
    return ReadOpened(OpenThroughLinks(path), limit, bytes);
}

}  // namespace vigilon
