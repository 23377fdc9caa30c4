#include "EchoPeers.h"

#include <arpa/inet.h>
#include <linux/icmp.h>
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

bool ParseAddress(const std::string& text, in_addr& address) {
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

// A raw ICMP socket whose messages leave from `from` (a local address).
int SenderFrom(in_addr from) {
    const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd < 0) _exit(1);
    icmp_filter nothing{~0U};
    setsockopt(fd, SOL_RAW, ICMP_FILTER, &nothing, sizeof nothing);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = from;
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) _exit(1);
    return fd;
}

// A raw socket that takes in only the echo requests addressed to host.
int ListenerFor(in_addr host) {
    const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd < 0) _exit(1);
    icmp_filter requestsOnly{~(1U << ICMP_ECHO)};
    setsockopt(fd, SOL_RAW, ICMP_FILTER, &requestsOnly, sizeof requestsOnly);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = host;
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) _exit(1);
    return fd;
}

void Send(int fd, Message message, in_addr to) {
    StoreLe16(message.data() + 2, 0);
    StoreLe16(message.data() + 2,
              IcmpChecksum(message.data(), static_cast<int>(message.size())));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr = to;
    sendto(fd, message.data(), message.size(), MSG_DONTWAIT,
           reinterpret_cast<sockaddr*>(&address), sizeof address);
}

// Waits up to timeoutMs for a request; gives the reply that repeats it
// faithfully and where the request came from.
bool NextRequest(int listener, int timeoutMs, Message& reply, in_addr& requester) {
    pollfd ready{listener, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0) return false;
    std::uint8_t datagram[1500];
    const ssize_t got = recv(listener, datagram, sizeof datagram, MSG_DONTWAIT);
    const int header = (datagram[0] & 0x0F) * 4;
    if (got < header + 8 || datagram[header] != ICMP_ECHO) return false;
    std::memcpy(&requester, datagram + 12, 4);
    reply.assign(datagram + header, datagram + got);
    reply[0] = ICMP_ECHOREPLY;
    return true;
}

void SayForged(in_addr host) {
    std::printf("forged: %s\n", inet_ntoa(host));
    std::fflush(stdout);
}

[[noreturn]] void AnswerLate(const EchoPeer& peer) {
    const int listener = ListenerFor(peer.host);
    const int sender = SenderFrom(peer.host);
    struct Due {
        std::uint32_t atMs;
        Message reply;
        in_addr to;
    };
    std::deque<Due> due;
    SignalReady();
    for (;;) {
        ExitWhenOrphaned();
        int waitMs = 100;
        if (!due.empty()) waitMs = std::max(0, static_cast<int>(due.front().atMs - NowMs()));
        Message reply;
        in_addr to{};
        if (NextRequest(listener, waitMs, reply, to))
            due.push_back({NowMs() + static_cast<std::uint32_t>(peer.delayMs), reply, to});
        while (!due.empty() && static_cast<std::int32_t>(NowMs() - due.front().atMs) >= 0) {
            Send(sender, due.front().reply, due.front().to);
            std::printf("answer: %s sequence %u\n", inet_ntoa(peer.host),
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
        in_addr to{};
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
        in_addr to{};
        if (!NextRequest(listener, 100, reply, to) || reply.size() < 13) continue;
        std::vector<Message> forged(6, reply);
        StoreLe32(forged[0].data() + 8, LoadLe32(reply.data() + 8) + 1);  // timestamp
        forged[1].back() ^= 0x01;                                          // data
        StoreLe16(forged[2].data() + 6, LoadLe16(reply.data() + 6) + 1);   // sequence
        StoreLe16(forged[3].data() + 4, LoadLe16(reply.data() + 4) + 1);   // identifier
        forged[4].pop_back();                                              // cut short
        forged[5].push_back(0x45);                                         // overlong
        for (const Message& message : forged) Send(sender, message, to);
        SayForged(peer.host);
    }
}

// What someone sends who cannot see the requests: replies from the host for
// every identifier, with the sequence a fresh probe counts from and the
// clock's present time, over and over.
[[noreturn]] void ForgeBlind(const EchoPeer& peer) {
    const int sender = SenderFrom(peer.host);
    in_addr loopback{};
    loopback.s_addr = htonl(INADDR_LOOPBACK);
    Message reply(44, 0x45);
    reply[0] = ICMP_ECHOREPLY;
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
        return ParseAddress(rest, peer.from);
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
