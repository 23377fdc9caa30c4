#include "NetrcPath.h"

#include <pwd.h>
#include <unistd.h>
#include <cstdlib>

namespace vigilon {

std::string NetrcPath() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::string(home) + "/.netrc";
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
        return std::string(found->pw_dir) + "/.netrc";
    return {};
}

}  // namespace vigilon
