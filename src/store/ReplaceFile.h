#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vigilon {

// Replaces the content of path with bytes so that the file is either the old
// one or the new one, never a torn mix, whatever happens on the way (crash,
// kill, full disk): the bytes go to a temporary file that is synced and then
// renamed over path. Returns 0 on success, otherwise the errno of the step
// that failed; the old file is then untouched and the temporary removed.
int ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vigilon
