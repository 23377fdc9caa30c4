#include "DataFileRead.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

DataFile ReadDataFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    return ReadOpened(OpenDataFile(path, O_RDONLY), limit, bytes);
}

DataFile ReadDataFileThroughLinks(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    DataFile file;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        file.state = errno == ENOENT ? DataFile::State::Missing : DataFile::State::Failed;
        file.error = errno;
        file.problem = ErrorText(errno);
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.state = DataFile::State::NotAFile;
        file.type = info.st_mode & S_IFMT;
        file.problem = "it is " + FileKindName(file.type) + ", not a regular file";
        return file;
    }
    // O_NONBLOCK: a FIFO swapped in after the stat does not hold the read.
    file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.fd || ::fstat(file.fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        file.state = DataFile::State::Failed;
        file.error = errno;
        file.problem = ErrorText(errno);
        return file;
    }
    file.state = DataFile::State::Open;
    file.where = path;
    return ReadOpened(std::move(file), limit, bytes);
}

}  // namespace vigilon
