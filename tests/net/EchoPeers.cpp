#include "EchoPeers.h"

#include <arpa/inet.h>
#include <linux/icmp.h>
#include <netinet/icmp6.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "ByteOrder.h"
#include "IcmpWire.h"

namespace vigilon::test {

namespace {

using Message = std::vector<std::uint8_t>;

// Set in the peer's process: the helper that started it, and the pipe on
// which it waits until the peer's sockets are open.
pid_t helper = -1;
int readyPipe = -1;

void SignalReady() {
    const char ready = 1;
    if (write(readyPipe, &ready, 1) != 1) _exit(1);
    close(readyPipe);
}

// Once the helper has given up root, its death signal cannot reach a peer,
// which therefore keeps looking for it.
void ExitWhenOrphaned() {
    if (getppid() != helper) _exit(0);
}

std::uint32_t NowMs() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

bool ParseAddress(const std::string& text, PeerAddress& address) {
    address = PeerAddress{};
    address.text = text;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address.socket);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.socket);
    if (inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        address.length = sizeof *v4;
        return true;
    }
    if (inet_pton(AF_INET6, text.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        address.length = sizeof *v6;
        return true;
    }
    return false;
}

bool IsV6(const PeerAddress& address) { return address.Family() == AF_INET6; }

std::uint8_t EchoReplyType(const PeerAddress& address) {
    return IsV6(address) ? ICMP6_ECHO_REPLY : ICMP_ECHOREPLY;
}

// A raw ICMP socket of the address's family bound to it, letting through
// only the type given (none: nothing at all).
int RawSocketAt(const PeerAddress& address, int passedType) {
    const int protocol = IsV6(address) ? int{IPPROTO_ICMPV6} : int{IPPROTO_ICMP};
    const int fd = socket(address.Family(), SOCK_RAW, protocol);
    if (fd < 0) _exit(1);
    if (IsV6(address)) {
        icmp6_filter types{};
        ICMP6_FILTER_SETBLOCKALL(&types);
        if (passedType >= 0) ICMP6_FILTER_SETPASS(passedType, &types);
        setsockopt(fd, IPPROTO_ICMPV6, ICMP6_FILTER, &types, sizeof types);
    } else {
        icmp_filter types{passedType >= 0 ? ~(1U << passedType) : ~0U};
        setsockopt(fd, SOL_RAW, ICMP_FILTER, &types, sizeof types);
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address.socket), address.length) != 0) _exit(1);
    return fd;
}

// A raw socket whose messages leave from `from` (a local address).
int SenderFrom(const PeerAddress& from) { return RawSocketAt(from, -1); }

// A raw socket that takes in only the echo requests addressed to host.
int ListenerFor(const PeerAddress& host) {
    return RawSocketAt(host, IsV6(host) ? ICMP6_ECHO_REQUEST : ICMP_ECHO);
}

// The kernel sums an ICMPv6 message with the addresses itself.
void Send(int fd, Message message, const PeerAddress& to) {
    StoreLe16(message.data() + 2, 0);
    if (!IsV6(to))
        StoreLe16(message.data() + 2,
                  IcmpChecksum(message.data(), static_cast<int>(message.size())));
    sendto(fd, message.data(), message.size(), MSG_DONTWAIT,
           reinterpret_cast<const sockaddr*>(&to.socket), to.length);
}

// Waits up to timeoutMs for a request; gives the reply that repeats it
// faithfully and where the request came from. An IPv4 socket reads the IP
// header too, an IPv6 one the message alone.
bool NextRequest(int listener, int timeoutMs, Message& reply, PeerAddress& requester) {
    pollfd ready{listener, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0) return false;
    std::uint8_t datagram[1500];
    requester = PeerAddress{};
    requester.length = sizeof requester.socket;
    const ssize_t got = recvfrom(listener, datagram, sizeof datagram, MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&requester.socket), &requester.length);
    if (got < 0) return false;
    const bool v6 = IsV6(requester);
    const int header = v6 ? 0 : (datagram[0] & 0x0F) * 4;
    if (got < header + 8 || datagram[header] != (v6 ? ICMP6_ECHO_REQUEST : ICMP_ECHO)) return false;
    reply.assign(datagram + header, datagram + got);
    reply[0] = EchoReplyType(requester);
    return true;
}

void SayForged(const PeerAddress& host) {
    std::printf("forged: %s\n", host.text.c_str());
    std::fflush(stdout);
}

[[noreturn]] void AnswerLate(const EchoPeer& peer) {
    const int listener = ListenerFor(peer.host);
    const int sender = SenderFrom(peer.host);
    struct Due {
        std::uint32_t atMs;
        Message reply;
        PeerAddress to;
    };
    std::deque<Due> due;
    SignalReady();
    for (;;) {
        ExitWhenOrphaned();
        int waitMs = 100;
        if (!due.empty()) waitMs = std::max(0, static_cast<int>(due.front().atMs - NowMs()));
        Message reply;
        PeerAddress to;
        if (NextRequest(listener, waitMs, reply, to))
            due.push_back({NowMs() + static_cast<std::uint32_t>(peer.delayMs), reply, to});
        while (!due.empty() && static_cast<std::int32_t>(NowMs() - due.front().atMs) >= 0) {
            Send(sender, due.front().reply, due.front().to);
            std::printf("answer: %s sequence %u\n", peer.host.text.c_str(),
                        static_cast<unsigned>(LoadLe16(due.front().reply.data() + 6)));
            std::fflush(stdout);
            due.pop_front();
        }
    }
}

[[noreturn]] void ForgeFromElsewhere(const EchoPeer& peer) {
    const int listener = ListenerFor(peer.host);
    const int sender = SenderFrom(peer.from);
    SignalReady();
    for (;;) {
        ExitWhenOrphaned();
        Message reply;
        PeerAddress to;
        if (!NextRequest(listener, 100, reply, to)) continue;
        Send(sender, reply, to);
        SayForged(peer.host);
    }
}

// Each reply is faithful but for one thing: what a forger who guessed
// everything else would send.
[[noreturn]] void ForgeAltered(const EchoPeer& peer) {
    const int listener = ListenerFor(peer.host);
    const int sender = SenderFrom(peer.host);
    SignalReady();
    for (;;) {
        ExitWhenOrphaned();
        Message reply;
        PeerAddress to;
        if (!NextRequest(listener, 100, reply, to) || reply.size() < 13) continue;
        std::vector<Message> forged(6, reply);
        StoreLe32(forged[0].data() + 8, LoadLe32(reply.data() + 8) + 1);  // timestamp
        forged[1].back() ^= 0x01;                                         // data
        StoreLe16(forged[2].data() + 6, LoadLe16(reply.data() + 6) + 1);  // sequence
        StoreLe16(forged[3].data() + 4, LoadLe16(reply.data() + 4) + 1);  // identifier
        forged[4].pop_back();                                             // cut short
        forged[5].push_back(0x45);                                        // overlong
        for (const Message& message : forged)
            Send(sender, message, to);
        SayForged(peer.host);
    }
}

// What someone sends who cannot see the requests: replies from the host for
// every identifier, with the sequence a fresh probe counts from and the
// clock's present time, over and over.
[[noreturn]] void ForgeBlind(const EchoPeer& peer) {
    const int sender = SenderFrom(peer.host);
    PeerAddress loopback;
    ParseAddress(IsV6(peer.host) ? "::1" : "127.0.0.1", loopback);
    Message reply(44, 0x45);
    reply[0] = EchoReplyType(peer.host);
    reply[1] = 0;
    StoreLe16(reply.data() + 6, 0);
    SignalReady();
    for (;;) {
        ExitWhenOrphaned();
        for (std::uint32_t identifier = 0; identifier <= 0xFFFF; ++identifier) {
            StoreLe16(reply.data() + 4, static_cast<std::uint16_t>(identifier));
            StoreLe32(reply.data() + 8, NowMs());
            Send(sender, reply, loopback);
        }
        SayForged(peer.host);
    }
}

}  // namespace

bool ParsePeer(const std::string& option, const std::string& value, EchoPeer& peer) {
    const auto at = value.find('@');
    const std::string host = value.substr(0, at);
    const std::string rest = at == std::string::npos ? "" : value.substr(at + 1);
    if (!ParseAddress(host, peer.host)) return false;
    if (option == "--answer" && !rest.empty()) {
        peer.kind = EchoPeer::Kind::Late;
        peer.delayMs = std::stoi(rest);
        return true;
    }
    if (option == "--forge-from") {
        peer.kind = EchoPeer::Kind::FromElsewhere;
        return ParseAddress(rest, peer.from) && peer.from.Family() == peer.host.Family();
    }
    if (option == "--forge-altered" && rest.empty()) {
        peer.kind = EchoPeer::Kind::Altered;
        return true;
    }
    if (option == "--forge-blind" && rest.empty()) {
        peer.kind = EchoPeer::Kind::Blind;
        return true;
    }
    return false;
}

pid_t StartPeer(const EchoPeer& peer) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    helper = getpid();
    const pid_t child = fork();
    if (child != 0) {
        // The probe must not send before the peer listens.
        close(ready[1]);
        char signal = 0;
        const bool started = child > 0 && read(ready[0], &signal, 1) == 1;
        close(ready[0]);
        return started ? child : -1;
    }
    close(ready[0]);
    readyPipe = ready[1];
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    ExitWhenOrphaned();
    switch (peer.kind) {
        case EchoPeer::Kind::Late: AnswerLate(peer);
        case EchoPeer::Kind::FromElsewhere: ForgeFromElsewhere(peer);
        case EchoPeer::Kind::Altered: ForgeAltered(peer);
        case EchoPeer::Kind::Blind: ForgeBlind(peer);
    }
    _exit(1);
}

}  // namespace vigilon::test
