#pragma once

#include <cstddef>
#include <string>

namespace vigilon {

// The end of a log file for reading on screen: at most maxBytes, starting
// at a line's beginning, with the file's CR LF line ends as LF. Empty when
// the file cannot be read (not there yet, or emptied).
std::string ReadLogEnd(const std::string& path, std::size_t maxBytes);

}  // namespace vigilon
