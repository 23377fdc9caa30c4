#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "IpAddress.h"
#include "ReceivedEcho.h"
#include "WakeHandle.h"

namespace vigilon {

// What the system is to let through to a socket, so that a flood of others'
// echo traffic is dropped before it is queued.
struct EchoAdmission {
    // The two bytes after the checksum of every request sent, read in
    // network byte order, whatever order they were written in.
    std::uint16_t identifier = 0;
    // The next two, likewise, when only the answer to one request is wanted.
    std::optional<std::uint16_t> sequence;
    // ICMP errors that quote such a request, besides the echo replies.
    bool errors = false;
};

// How a wait for the socket ended.
struct SocketWait {
    enum class End { Readable, Quiet, Woken, Failed };
    End end = End::Quiet;  // Quiet: the deadline passed, or a signal came
    int error = 0;         // errno when Failed
};

// The one place where an address family's and a platform's echo API plugs
// in: Linux's ICMP and ICMPv6 sockets, Windows' IcmpSendEcho2 and
// Icmp6SendEcho2.
// The rules that are the same everywhere (how requests are laid out and
// numbered, which replies and errors answer which request) live in
// EchoChannel above it. Every call returns 0 or an errno.
class EchoSocket {
public:
    virtual ~EchoSocket() = default;

    // The privileged kind first (a raw socket), the unprivileged kind when
    // that one is refused.
    virtual int Open() = 0;
    virtual bool Unprivileged() const = 0;
    // The identifier the system writes over every request's own, given in
    // network byte order; none when requests keep theirs.
    virtual std::optional<std::uint16_t> SystemIdentifier() const = 0;
    // The type byte of an echo request in this family (8, ICMPv6 128).
    virtual std::uint8_t RequestType() const = 0;

    virtual int Admit(const EchoAdmission& admission) = 0;
    // From now on a send waits up to this long for room; without it a send
    // that finds no room fails at once (EAGAIN).
    virtual int LimitSendWait(std::uint32_t milliseconds) = 0;
    virtual int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) = 0;

    // Waits until something can be read, deadlineUs on the monotonic clock
    // passes or wake (WakeHandle.h, the platform's kind) is signalled.
    virtual SocketWait Wait(std::int64_t deadlineUs, WakeHandle wake) = 0;
    // Reads one message into buffer without waiting; EAGAIN when none is
    // queued. got points into buffer.
    virtual int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) = 0;
};

// The system's echo socket for the family (none where the family has none
// yet: the caller reports EAFNOSUPPORT).
std::unique_ptr<EchoSocket> NewSystemEchoSocket(IpFamily family);

}  // namespace vigilon
