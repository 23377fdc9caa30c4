#pragma once

#include <string>

namespace vigilon {

// What the system says about an errno value, safe to call from any thread:
// std::strerror may hand back a buffer that another thread overwrites.
std::string ErrorText(int error);

}  // namespace vigilon
