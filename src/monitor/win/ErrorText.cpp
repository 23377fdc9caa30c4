#include "ErrorText.h"

#include <string.h>

namespace vigilon {

// The C runtime's texts for the errno values the C library functions set.
// It calls every number it does not know plain "Unknown error"; the number
// is added, as the GNU library does, so that a message still tells which.
std::string ErrorText(int error) {
    char buffer[256] = "";
    const std::string unknown = "Unknown error";
    if (::strerror_s(buffer, sizeof buffer, error) != 0 || buffer[0] == '\0' || buffer == unknown)
        return unknown + " " + std::to_string(error);
    return buffer;
}

}  // namespace vigilon
