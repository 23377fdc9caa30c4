#include "CEchoProbe.h"

#include <cerrno>
#include <ctime>

#include "EchoChannel.h"
#include "IcmpWire.h"
#include "MonotonicClock.h"
#include "NameLookup.h"
#include "ProbeText.h"
#include "SystemSockets.h"

namespace vigilon {

namespace {

bool IsTimeout(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == ETIMEDOUT; }

EchoResult Failed(LocalStep step, int error) {
    EchoResult result;
    result.outcome = EchoOutcome::LocalError;
    result.step = step;
    result.error = error;
    return result;
}

bool IsIpv6Text(const std::string& host) {
    in6_addr address{};
    return inet_pton(AF_INET6, host.c_str(), &address) == 1;
}

// The first address of host; a dotted form that only the classic parser
// reads is taken too.
bool ResolveTarget(const std::string& host, IpAddress& address) {
    if (ResolveFirstAddress(host, address)) return true;
    in_addr parsed{};
    parsed.s_addr = inet_addr(host.c_str());
    if (parsed.s_addr == INADDR_NONE) return false;
    address = IpAddress::V4(parsed);
    return true;
}

// A channel over a fresh socket of the family, open and with its send
// time-out; the failure as the probe reports it otherwise.
std::optional<EchoResult> OpenChannel(const CEchoProbe::SocketFn& newSocket, IpFamily family,
                                      const EchoChannelSetup& setup,
                                      std::unique_ptr<EchoChannel>& channel) {
    channel = std::make_unique<EchoChannel>(newSocket(family), setup);
    if (const int error = channel->Open()) return Failed(LocalStep::OpenSocket, error);
    // The reply wait is bounded by the deadline alone; only the send needs a time-out.
    if (const int error = channel->LimitSendWait(CEchoProbe::kReplyWaitMs))
        return Failed(LocalStep::SetSendTimeout, error);
    return std::nullopt;
}

}  // namespace

void CEchoProbe::SleepMs(std::uint32_t milliseconds) {
    timespec rest{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {}
}

CEchoProbe::CEchoProbe(PauseFn pause, std::uint16_t identifier, SocketFn newSocket)
    : pause(std::move(pause)),
      identifier(identifier),
      newSocket(std::move(newSocket)),
      sequenceOffset(UnguessableNumber()) {}

std::string CEchoProbe::Ping(const std::string& host, int dataSize) {
    return ProbeText(Exchange(host, dataSize), host);
}

EchoResult CEchoProbe::Exchange(const std::string& host, int dataSize) {
    EchoChannelSetup setup;
    setup.layout = EchoLayout::LowByteFirst;
    setup.identifier = identifier;
    setup.sequenceOffset = sequenceOffset;
    // The probe counts only its answer: an ICMP error about the request
    // leaves it to time out.
    setup.errorsSettle = false;
    setup.onlyCount = nextSequence;
    // The socket's family is the address's. An IPv6 address written out is
    // known at once; for anything else the IPv4 socket opens before the
    // lookup, so that a socket that cannot be opened is told without waiting
    // for the resolver, and a name whose first address is IPv6 then gets a
    // socket of that family.
    std::unique_ptr<EchoChannel> channel;
    const IpFamily guessed = IsIpv6Text(host) ? IpFamily::V6 : IpFamily::V4;
    if (std::optional<EchoResult> failed = OpenChannel(newSocket, guessed, setup, channel))
        return *failed;
    IpAddress resolved;
    if (!ResolveTarget(host, resolved)) return Failed(LocalStep::Resolve, 0);
    if (resolved.Family() != guessed) {
        if (std::optional<EchoResult> failed =
                OpenChannel(newSocket, resolved.Family(), setup, channel))
            return *failed;
    }

    if (dataSize == 0) dataSize = kDefaultDataSize;
    // The request must fit its buffer; anything else could never be sent
    // whole. Checked before adding the header, which could overflow.
    if (dataSize < 0 || dataSize > kBufferSize - kHeaderSize)
        return Failed(LocalStep::Send, EMSGSIZE);

    // The timestamp is data to the channel, which counts the header alone.
    const int dataBytes = dataSize + kHeaderSize - kIcmpHeader;
    if (const std::optional<EchoResult> refused =
            channel->Send(resolved, nextSequence++, dataBytes)) {
        if (IsTimeout(refused->error)) return EchoResult{};
        return *refused;
    }
    const std::int64_t deadlineUs = *channel->OldestSentAtUs() + std::int64_t{kReplyWaitMs} * 1000;
    while (MonotonicUs() < deadlineUs) {
        const EchoChannel::Waited waited = channel->Await(deadlineUs);
        if (waited.waitError != 0) return Failed(LocalStep::Receive, waited.waitError);
        if (waited.readError != 0 && !IsTimeout(waited.readError))
            return Failed(LocalStep::Receive, waited.readError);
        if (waited.settled.empty()) continue;
        pause(kPauseAfterReplyMs);
        return waited.settled.front();
    }
    return EchoResult{};
}

}  // namespace vigilon
