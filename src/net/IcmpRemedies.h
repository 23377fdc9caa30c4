#pragma once

#include <string>

namespace vigilon {

// The two ways to let a program send pings on Linux, as the user types
// them: the raw-socket capability for programPath, or the datagram socket
// for every group. Both programs' messages about missing privileges end
// with it.
std::string IcmpRemedies(const std::string& programPath);

// This process's own executable, for the first remedy; fallback when it
// cannot be read.
std::string OwnProgramPath(const std::string& fallback);

}  // namespace vigilon
