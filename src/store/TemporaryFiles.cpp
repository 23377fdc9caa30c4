#include "TemporaryFiles.h"

#include <unistd.h>

namespace vigilon {

namespace {

constexpr const char* kTemporaryMark = ".tmp.";

}  // namespace

std::string TemporaryPathFor(const std::string& path) {
    return path + kTemporaryMark + std::to_string(::getpid());
}

std::string TemporaryPrefixFor(const std::string& fileName) { return fileName + kTemporaryMark; }

int TemporaryOwner(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 9) return 0;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    int pid = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

}  // namespace vigilon
