#include "ErrorText.h"

#include <string.h>

namespace vigilon {

namespace {

// The GNU strerror_r returns the text, which may or may not be in the buffer;
// the XSI one fills the buffer and returns 0 on success. Which one the C
// library declares depends on the feature macros, so both are taken.
[[maybe_unused]] const char* TextOf(const char* gnuResult, const char*) { return gnuResult; }
[[maybe_unused]] const char* TextOf(int xsiResult, const char* buffer) {
    return xsiResult == 0 ? buffer : nullptr;
}

}  // namespace

std::string ErrorText(int error) {
    char buffer[256] = "";
    const char* text = TextOf(strerror_r(error, buffer, sizeof buffer), buffer);
    if (text == nullptr || *text == '\0') return "Unknown error " + std::to_string(error);
    return text;
}

}  // namespace vigilon
