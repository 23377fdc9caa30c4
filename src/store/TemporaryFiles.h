#pragma once

#include <string>

#include "UniqueFd.h"

namespace vigilon {

// The name of the temporary file a save of path writes before renaming it
// over path: in the same directory, so the rename cannot cross file
// systems, and marked with this process's id, so that a later save can
// tell the left-over of a killed save from one still being written.
std::string TemporaryPathFor(const std::string& path);

// The start of the names of the temporaries of the file named fileName,
// and the process id that name carries after prefix (0: not one of ours).
std::string TemporaryPrefixFor(const std::string& fileName);
int TemporaryOwner(const std::string& name, const std::string& prefix);

// Creates path's temporary file exclusively: a name that already exists,
// be it a planted link or anything else, is never opened. Invalid, with
// errno set, when it cannot be created.
UniqueFd CreateTemporaryFor(const std::string& path, int mode);

// Removes the temporary files that saves of path left behind when they
// were killed: those of processes that no longer run, and this process's
// own name, which no other save can be using. Failures are ignored: a
// left-over costs only room.
void RemoveLeftoverTemporaries(const std::string& path);

}  // namespace vigilon
