#include "IcmpSocket.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ByteOrder.h"

namespace vigilon {

IcmpSocket::~IcmpSocket() {
    if (fd >= 0) close(fd);
}

int IcmpSocket::Open() {
    fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) return 0;
    if (errno != EPERM && errno != EACCES) return errno;

    fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) return errno;
    datagram = true;
    // The kernel picks the identifier when the socket is bound; sendto would
    // bind it implicitly, binding now lets us read it before the send.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    socklen_t length = sizeof local;
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        const int error = errno;
        close(fd);
        fd = -1;
        return error;
    }
    kernelIdentifier = ntohs(local.sin_port);
    return 0;
}

int AdaptDatagramReply(std::uint8_t* buffer, int icmpBytes, const sockaddr_in& source,
                       std::uint16_t kernelIdentifier, std::uint16_t ownIdentifier) {
    constexpr int header = IcmpSocket::kSyntheticHeaderSize;
    const int total = icmpBytes + header;
    std::memset(buffer, 0, header);
    buffer[0] = 0x45;  // IPv4, five 32-bit words
    const std::uint16_t totalLength = htons(static_cast<std::uint16_t>(total));
    std::memcpy(buffer + 2, &totalLength, 2);
    buffer[8] = 64;  // time to live
    buffer[9] = IPPROTO_ICMP;
    std::memcpy(buffer + 12, &source.sin_addr, 4);
    // The kernel wrote its identifier in network byte order in place of ours.
    std::uint8_t* identifierField = buffer + header + 4;
    if (icmpBytes >= 8) {
        std::uint16_t wire;
        std::memcpy(&wire, identifierField, 2);
        if (ntohs(wire) == kernelIdentifier) StoreLe16(identifierField, ownIdentifier);
    }
    return total;
}

}  // namespace vigilon
