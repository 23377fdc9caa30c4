#include "CurlLibrary.h"

#include <string>

namespace vigilon {

std::string CurlErrorText(CURLcode code) {
    if (const CurlFunctions* curl = Curl(); curl != nullptr) return curl->easyStrerror(code);
    return "libcurl error " + std::to_string(static_cast<int>(code));
}

}  // namespace vigilon
