#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "RunSpool.h"
#include "SpoolFile.h"

namespace vigilon::ravelin {

// A file without a name, so that nothing is left behind by a crash. Where the
// file system cannot make one, a named one is unlinked at once.
int OpenSpoolFile(const std::string& folder) {
    const int fd = open(folder.c_str(), O_TMPFILE | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    std::string name = folder + "/ravelin-spool-XXXXXX";
    const int named = mkostemp(name.data(), O_CLOEXEC);  // 0600
    if (named >= 0) unlink(name.c_str());
    return named;
}

std::int64_t ReadSpoolAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
    return pread(fd, buffer, size, static_cast<off_t>(offset));
}

std::string SpoolFolder() {
    const auto set = [](const char* name) -> const char* {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0' ? value : nullptr;
    };
    if (const char* tmp = set("TMPDIR")) return tmp;
    if (const char* cache = set("XDG_CACHE_HOME")) return std::string(cache) + "/ravelin";
    if (const char* home = set("HOME")) return std::string(home) + "/.cache/ravelin";
    return "/tmp";
}

}  // namespace vigilon::ravelin
