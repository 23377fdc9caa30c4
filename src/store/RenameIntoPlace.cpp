#include "RenameIntoPlace.h"

#include <cerrno>

#include "TemporaryFiles.h"

namespace vigilon {

int CreateByRename(const std::string& path, std::span<const std::uint8_t> bytes) {
    RemoveLeftoverTemporaries(path);
    // Files written this way may hold mail servers and addresses: the owner's alone.
    UniqueFd temporary = CreateTemporaryFor(path, 0600);
    if (!temporary) return errno;
    return CommitTemporary(std::move(temporary), path, bytes);
}

}  // namespace vigilon
