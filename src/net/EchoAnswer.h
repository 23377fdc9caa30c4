#pragma once

#include <netinet/in.h>

#include <cstdint>

namespace vigilon {

// One echo request as it went on the wire, and where it went.
struct SentEcho {
    const std::uint8_t* message;  // the ICMP message, from its type byte
    int length;
    in_addr destination;
};

// Whether a received datagram (IP header first) answers the request: an echo
// reply from the address pinged that gives back identifier, sequence,
// timestamp and data unchanged and nothing more. A late answer to an earlier
// request, a reply sent on the host's behalf from elsewhere or one made up
// without seeing the request is not an answer.
bool IsAnswerTo(const SentEcho& request, const std::uint8_t* datagram, int byteCount,
                const sockaddr_in& source);

}  // namespace vigilon
