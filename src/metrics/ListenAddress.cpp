#include "ListenAddress.h"

#include <charconv>
#include <cstring>

namespace vigilon::metrics {

namespace {

bool ReadPort(const std::string& text, std::uint16_t& port) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

std::string ParseListenAddress(const std::string& text, ListenAddress& parsed) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return "'" + text + "' is not HOST:PORT";
    std::string host = text.substr(0, colon);
    std::uint16_t port = 0;
    if (!ReadPort(text.substr(colon + 1), port))
        return "'" + text + "' has no port between 1 and 65535";

    if (host.empty() || host == "localhost") host = "127.0.0.1";
    ListenAddress result;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        sockaddr_in6 six{};
        six.sin6_family = AF_INET6;
        six.sin6_port = htons(port);
        if (inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &six.sin6_addr) != 1)
            return "'" + host + "' is no IPv6 address";
        std::memcpy(&result.address, &six, sizeof six);
        result.length = sizeof six;
        result.shown = host + ":" + std::to_string(port);
    } else {
        sockaddr_in four{};
        four.sin_family = AF_INET;
        four.sin_port = htons(port);
        if (inet_pton(AF_INET, host.c_str(), &four.sin_addr) != 1)
            return "'" + host + "' is no IPv4 address (names are not looked up)";
        std::memcpy(&result.address, &four, sizeof four);
        result.length = sizeof four;
        result.shown = host + ":" + std::to_string(port);
    }
    parsed = result;
    return {};
}

}  // namespace vigilon::metrics
