#pragma once

// An EchoSocket without a network for the echo engine's tests: it keeps what
// is sent and admitted, and hands over the IPv4 datagrams queued for it, as
// the raw kind or, given a kernel identifier, as the datagram kind.

#include <cerrno>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "ByteOrder.h"
#include "EchoSocket.h"
#include "IcmpWire.h"
#include "Ipv4Datagram.h"
#include "MonotonicClock.h"

namespace vigilon::test {

struct FakeEchoState {
    std::optional<std::uint16_t> kernelIdentifier;  // the datagram kind's
    int openError = 0;
    int sendError = 0;
    // A faithful reply from the destination to every request sent.
    bool hostAnswers = false;

    std::optional<EchoAdmission> admitted;
    std::vector<std::vector<std::uint8_t>> sent;
    struct Queued {
        std::vector<std::uint8_t> datagram;  // IP header first
        IpAddress source;
    };
    std::deque<Queued> queue;
};

// A 20-byte IPv4 header of ICMP in front of message.
inline std::vector<std::uint8_t> WithIpv4Header(const std::vector<std::uint8_t>& message) {
    std::vector<std::uint8_t> datagram(kIpv4Header, 0);
    datagram[0] = 0x45;
    datagram[8] = 64;
    datagram[9] = 1;  // ICMP
    datagram.insert(datagram.end(), message.begin(), message.end());
    return datagram;
}

// The host's reply to a request: type 0, checksum made again.
inline std::vector<std::uint8_t> ReplyTo(std::vector<std::uint8_t> request) {
    request[0] = 0;
    StoreLe16(request.data() + 2, 0);
    StoreLe16(request.data() + 2, IcmpChecksum(request.data(), static_cast<int>(request.size())));
    return request;
}

class FakeEchoSocket : public EchoSocket {
public:
    explicit FakeEchoSocket(FakeEchoState& state) : state(state) {}

    int Open() override { return state.openError; }
    bool Unprivileged() const override { return state.kernelIdentifier.has_value(); }
    std::optional<std::uint16_t> SystemIdentifier() const override {
        return state.kernelIdentifier;
    }
    std::uint8_t RequestType() const override { return 8; }
    int Admit(const EchoAdmission& admission) override {
        state.admitted = admission;
        return 0;
    }
    int LimitSendWait(std::uint32_t) override { return 0; }
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override {
        if (state.sendError != 0) return state.sendError;
        std::vector<std::uint8_t> onWire = message;
        // The datagram kind's kernel writes its identifier over the request's.
        if (state.kernelIdentifier) {
            StoreBe16(onWire.data() + 4, *state.kernelIdentifier);
            StoreLe16(onWire.data() + 2, 0);
            StoreLe16(onWire.data() + 2,
                      IcmpChecksum(onWire.data(), static_cast<int>(onWire.size())));
        }
        state.sent.push_back(onWire);
        if (state.hostAnswers) state.queue.push_back({WithIpv4Header(ReplyTo(onWire)), to});
        return 0;
    }
    SocketWait Wait(std::int64_t, WakeHandle) override {
        return {state.queue.empty() ? SocketWait::End::Quiet : SocketWait::End::Readable, 0};
    }
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override {
        if (state.queue.empty()) return EAGAIN;
        const FakeEchoState::Queued next = state.queue.front();
        state.queue.pop_front();
        const int count = std::min(size, static_cast<int>(next.datagram.size()));
        std::copy_n(next.datagram.begin(), count, buffer);
        got = ReadIpv4Datagram(buffer, count, next.source);
        got.ttl = buffer[8];
        got.receivedAtUs = MonotonicUs();
        return 0;
    }

private:
    FakeEchoState& state;
};

inline std::unique_ptr<EchoSocket> NewFakeSocket(FakeEchoState& state) {
    return std::make_unique<FakeEchoSocket>(state);
}

}  // namespace vigilon::test
