#pragma once

#include <cstddef>
#include <string>

namespace vigilon {

using HostNameReader = int (*)(char* name, std::size_t length);

// The argument of HELO: this machine's host name, or "localhost" when the
// name cannot be read or is empty, so that the greeting stays well-formed.
std::string HeloName(HostNameReader readHostName);
std::string HeloName();  // reads with gethostname

}  // namespace vigilon
