#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "EchoRequest.h"
#include "EchoResult.h"
#include "EchoSocket.h"
#include "IpAddress.h"

namespace vigilon {

// How a channel numbers and lays out its requests and what settles them.
struct EchoChannelSetup {
    EchoLayout layout = EchoLayout::NetworkOrder;
    // Carried by every request, unless the socket puts its own in its place.
    std::uint16_t identifier = 0;
    // Added on the wire to every count the caller gives; results give the
    // count back.
    std::uint16_t sequenceOffset = 0;
    // An ICMP error that quotes a request settles it; else only its answer.
    bool errorsSettle = true;
    // The count of the one request the channel will send, so that the
    // system lets through nothing but its answer.
    std::optional<std::uint16_t> onlyCount;
};

// The echo engine that the monitor's probe and Ravelin share: numbered
// requests over one EchoSocket, several waiting for their outcome at once.
// A request is answered by a reply from where it went that repeats it
// exactly; when errorsSettle, an ICMP error that quotes it settles it too.
class EchoChannel {
public:
    // A socket of none stands for a family the system cannot ping.
    EchoChannel(std::unique_ptr<EchoSocket> socket, const EchoChannelSetup& setup);

    // Opens the socket, takes its identifier when it has one of its own and
    // tells it what to let through. Returns the errno, 0 when open.
    int Open();
    int LimitSendWait(std::uint32_t milliseconds) { return socket->LimitSendWait(milliseconds); }
    bool Unprivileged() const { return socket->Unprivileged(); }
    std::uint16_t Identifier() const { return identifier; }

    // Sends request `count` to `to` carrying dataBytes of data after the
    // ICMP header; it then waits for its outcome. A refused send is the
    // request's outcome at once: a local error.
    std::optional<EchoResult> Send(const IpAddress& to, std::uint16_t count, int dataBytes);

    struct Waited {
        std::vector<EchoResult> settled;  // in the order they came
        bool woken = false;
        int waitError = 0;  // the wait itself failed
        int readError = 0;  // reading failed, other than for want of a message
    };
    // Waits until something arrives, deadlineUs passes or wake is signalled,
    // then reads what is queued: the outcomes of waiting requests it settles.
    Waited Await(std::int64_t deadlineUs, WakeHandle wake = kNoWake);

    // The waiting requests sent waitUs or longer before nowUs, as time-outs,
    // oldest first; they wait no longer.
    std::vector<EchoResult> Expire(std::int64_t nowUs, std::int64_t waitUs);
    // When the oldest waiting request was sent; none when nothing waits.
    std::optional<std::int64_t> OldestSentAtUs() const;
    std::size_t WaitingCount() const { return waiting.size(); }

private:
    struct Waiting {
        std::uint16_t count;
        std::uint16_t sequence;  // as on the wire
        std::int64_t sentAtUs;
        IpAddress destination;
        std::vector<std::uint8_t> message;
    };

    void ReadQueued(Waited& waited);
    std::optional<EchoResult> Settle(const ReceivedEcho& got);
    std::deque<Waiting>::iterator FindWaiting(std::uint16_t sequence);
    std::uint16_t WireSequence(std::uint16_t count) const;
    // A field's value as the system's filter reads its two bytes: in
    // network byte order, whatever order the layout wrote them in.
    std::uint16_t AsFiltered(std::uint16_t value) const;

    std::unique_ptr<EchoSocket> socket;
    EchoChannelSetup setup;
    std::uint16_t identifier;
    std::deque<Waiting> waiting;
};

}  // namespace vigilon
