#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vigilon {

// Replaces the content of path with bytes, the way an in-place write of
// path would be allowed and would land, but without ever leaving a torn
// mix: the bytes go to a temporary file beside the file that path's links
// end at, which is synced, given the old file's owner and mode, and renamed
// over it.
//
// The file is first opened for writing through path, so whatever would
// refuse an in-place write (permissions, another owner, a read-only mount)
// refuses the save with the same errno, root's rights included. A file
// that cannot be replaced by another without changing what it is (a folder
// the user may not write, an owner the user cannot give the new file,
// further hard links) is written in place through that same opening.
// Only a regular file, or none, is written, and links are followed only
// as OpenDataFile allows (DataFileOpen.h). A file not there yet is made
// whole by a rename too, at the end of path's links when it has any.
//
// Returns an empty text on success, otherwise why it failed: the errno's
// text, or what OpenDataFile found. A failed replacement leaves the old
// file untouched and no temporary; a failed in-place write, as any, may
// leave the file partly written.
std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vigilon
