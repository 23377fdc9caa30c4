#include "HeloName.h"

namespace vigilon {

std::string HeloName(HostNameReader readHostName) {
    char name[256] = {};
    if (readHostName(name, sizeof name - 1) != 0) return "localhost";
    name[sizeof name - 1] = '\0';
    std::string text(name);
    return text.empty() ? "localhost" : text;
}

}  // namespace vigilon
