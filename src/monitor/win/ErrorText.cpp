#include "ErrorText.h"

#include <string.h>

namespace vigilon {

// The C runtime's texts for the errno values the C library functions set.
std::string ErrorText(int error) {
    char buffer[256] = "";
    if (::strerror_s(buffer, sizeof buffer, error) != 0 || buffer[0] == '\0')
        return "Unknown error " + std::to_string(error);
    return buffer;
}

}  // namespace vigilon
