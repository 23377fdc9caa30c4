#pragma once

#include <cerrno>
#include <string>

#include "DataFileOpen.h"
#include "ErrorText.h"

namespace vigilon {

// The outcomes each platform's OpenDataFile hands back.

inline DataFile EndedDataFile(DataFile::State state, const std::string& where, std::string problem,
                              int error = 0) {
    DataFile file;
    file.state = state;
    file.where = where;
    file.error = error;
    file.problem = std::move(problem);
    return file;
}

// ENOENT is no failure but a file not there yet.
inline DataFile FailedDataFile(int error, const std::string& where) {
    return EndedDataFile(error == ENOENT ? DataFile::State::Missing : DataFile::State::Failed,
                         where, ErrorText(error), error);
}

}  // namespace vigilon
