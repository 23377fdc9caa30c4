#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "EchoResult.h"
#include "IcmpSocket.h"

namespace vigilon {

// Numbered echo requests to one host over one socket kept open for a whole
// run, several of them waiting for their outcome at once. The answer rule is
// CEchoProbe's (the host's echo reply repeating the request exactly), but
// unlike that probe an ICMP error that quotes one of the requests settles it
// too. Identifier and sequence go in network byte order, as everyone's do.
class EchoChannel {
public:
    static constexpr int kMaxDataSize = 1012;

    explicit EchoChannel(in_addr destination) : destination(destination) {}

    // Raw socket first, else the datagram kind. Returns the errno, 0 when open.
    int Open();
    int Fd() const { return socket.Fd(); }
    bool IsDatagram() const { return socket.IsDatagram(); }
    std::uint16_t Identifier() const { return identifier; }

    // Sends request `sequence` carrying dataSize bytes of data (0 to
    // kMaxDataSize), which then waits for its outcome. A refused send is the
    // request's outcome at once, a local error.
    std::optional<EchoResult> Send(std::uint16_t sequence, int dataSize);

    // Reads what the socket holds without waiting: the outcomes of the
    // waiting requests that it settles, in the order they came.
    std::vector<EchoResult> ReadQueued();

    // The waiting requests sent waitUs or longer before nowUs, as time-outs,
    // oldest first; they wait no longer.
    std::vector<EchoResult> Expire(std::int64_t nowUs, std::int64_t waitUs);

    // When the oldest waiting request was sent; none when nothing waits.
    std::optional<std::int64_t> OldestSentAtUs() const;
    std::size_t WaitingCount() const { return waiting.size(); }

private:
    struct Waiting {
        std::uint16_t sequence;
        std::int64_t sentAtUs;
        std::vector<std::uint8_t> message;
    };

    // The outcome a datagram (IP header first) settles, taken out of the
    // waiting requests; none when it settles none.
    std::optional<EchoResult> Settle(const std::uint8_t* datagram, const IcmpDatagram& got);
    std::deque<Waiting>::iterator FindWaiting(std::uint16_t sequence);
    void BuildRequest(Waiting& request, int dataSize) const;

    in_addr destination;
    IcmpSocket socket;
    std::uint16_t identifier = 0;
    std::deque<Waiting> waiting;
};

}  // namespace vigilon
