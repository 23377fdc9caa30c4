#include "ErrorText.h"

#include <string.h>

#include <cerrno>

namespace vigilon {

namespace {

// The socket errors of POSIX, which the C runtime numbers but does not name:
// named as the GNU library names them.
const char* SocketErrorText(int error) {
    switch (error) {
        case EADDRINUSE: return "Address already in use";
        case EADDRNOTAVAIL: return "Cannot assign requested address";
        case EAFNOSUPPORT: return "Address family not supported by protocol";
        case ECONNABORTED: return "Software caused connection abort";
        case ECONNREFUSED: return "Connection refused";
        case ECONNRESET: return "Connection reset by peer";
        case EHOSTUNREACH: return "No route to host";
        case EMSGSIZE: return "Message too long";
        case ENETDOWN: return "Network is down";
        case ENETUNREACH: return "Network is unreachable";
        case ENOBUFS: return "No buffer space available";
        case ETIMEDOUT: return "Connection timed out";
        default: return nullptr;
    }
}

}  // namespace

// The C runtime's texts for the errno values the C library functions set.
// It calls every number it does not know plain "Unknown error"; the number
// is added, as the GNU library does, so that a message still tells which.
std::string ErrorText(int error) {
    if (const char* text = SocketErrorText(error)) return text;
    char buffer[256] = "";
    const std::string unknown = "Unknown error";
    if (::strerror_s(buffer, sizeof buffer, error) != 0 || buffer[0] == '\0' || buffer == unknown)
        return unknown + " " + std::to_string(error);
    return buffer;
}

}  // namespace vigilon
