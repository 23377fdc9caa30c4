#pragma once

// Hosts that net_probe_helper plays inside its namespace through raw sockets,
// where the namespace's own echo answers are switched off and the hosts'
// addresses sit on the loopback device. Each peer runs in a child process
// that dies with the helper. Hosts are IPv4 or IPv6 addresses.

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <string>

namespace vigilon::test {

// An address of either family, as the peers' sockets take it.
struct PeerAddress {
    sockaddr_storage socket{};
    socklen_t length = 0;
    std::string text;

    int Family() const { return socket.ss_family; }
};

struct EchoPeer {
    enum class Kind {
        Late,           // answers each request to host, delayMs late
        FromElsewhere,  // sends each request to host back at once, from `from`
        Altered,        // answers each request to host at once, one field changed per reply
        Blind,          // sends replies from host for every identifier, seeing no request
    };
    Kind kind = Kind::Late;
    PeerAddress host;
    PeerAddress from;
    int delayMs = 0;
};

// --answer HOST@MS, --forge-from HOST@FROM, --forge-altered HOST,
// --forge-blind HOST; false when option is none of them or value is wrong.
// HOST and FROM are of one family.
bool ParsePeer(const std::string& option, const std::string& value, EchoPeer& peer);

// Forks the peer and returns once it listens (-1 when it could not start).
// It prints "answer: HOST sequence N" for each answer it sends (N as on the
// wire) and "forged: HOST" for each batch of made-up replies, and ends when
// the helper does.
pid_t StartPeer(const EchoPeer& peer);

}  // namespace vigilon::test
