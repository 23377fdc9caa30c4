#include <sys/stat.h>

#include <cerrno>

#include "DataFolder.h"

namespace vigilon::app {

int MakePrivateFolder(const std::filesystem::path& folder) {
    return ::mkdir(folder.c_str(), 0700) == 0 ? 0 : errno;
}

}  // namespace vigilon::app
