#include "IpAddress.h"

#include <cstring>

#include "SystemSockets.h"

namespace vigilon {

IpAddress IpAddress::V4(in_addr address) {
    IpAddress made;
    std::memcpy(made.bytes.data(), &address, sizeof address);
    return made;
}

IpAddress IpAddress::V6(const in6_addr& address) {
    IpAddress made;
    made.family = IpFamily::V6;
    std::memcpy(made.bytes.data(), &address, sizeof address);
    return made;
}

in_addr IpAddress::ToV4() const {
    in_addr address{};
    std::memcpy(&address, bytes.data(), sizeof address);
    return address;
}

in6_addr IpAddress::ToV6() const {
    in6_addr address{};
    std::memcpy(&address, bytes.data(), sizeof address);
    return address;
}

std::string IpAddress::Text() const {
    if (family == IpFamily::V4) return Dotted(ToV4());
    char text[INET6_ADDRSTRLEN];
    inet_ntop(AF_INET6, bytes.data(), text, sizeof text);
    return text;
}

std::string Dotted(in_addr address) {
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace vigilon
