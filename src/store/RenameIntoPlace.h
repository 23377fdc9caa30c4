#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "UniqueFd.h"

namespace vigilon {

// The steps of a save that never leaves a torn file: the bytes go to a
// temporary beside the file, which is synced and renamed over it. Each
// returns 0 or the errno of the step that failed.

// Brings what was written to fd to the disk (fsync, FlushFileBuffers).
int SyncFile(int fd);

// Fills path's temporary (TemporaryFiles.h), syncs it and renames it over
// path; removes it on failure, leaving path as it was.
int CommitTemporary(UniqueFd temporary, const std::string& path,
                    std::span<const std::uint8_t> bytes);

// Puts a new file of mode 0600 holding bytes at path, whatever path named
// before (a link is replaced, not followed).
int CreateByRename(const std::string& path, std::span<const std::uint8_t> bytes);

// Removes the file at path, and its temporaries left behind; a file not
// there is no failure.
int RemoveDataFile(const std::string& path);

// Makes a rename or an unlink in path's folder durable. A failure here is
// not reported: the folder already shows the change either way.
void SyncFolderOf(const std::string& path);

}  // namespace vigilon
