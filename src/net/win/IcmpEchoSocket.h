#pragma once

#include <deque>
#include <memory>

#include "EchoSocket.h"

namespace vigilon {

// Windows' echo: IcmpSendEcho2 (iphlpapi), which a standard user may call;
// raw sockets need an administrator there. Each request is sent with an
// event of its own; what Windows reports back (ICMP_ECHO_REPLY) is laid
// out as the message it stands for, so that the echo rules above read it
// as on Linux: a reply carries the request back, an error quotes it.
// Windows gives the round trip in whole milliseconds, and not the IP
// header, which is taken as the plain 20 bytes. The wake handle is not
// watched.
class IcmpEchoSocket : public EchoSocket {
public:
    IcmpEchoSocket();
    ~IcmpEchoSocket() override;
    IcmpEchoSocket(const IcmpEchoSocket&) = delete;
    IcmpEchoSocket& operator=(const IcmpEchoSocket&) = delete;

    int Open() override;
    bool Unprivileged() const override { return true; }
    // Windows chooses the identifier and sequence on the wire, and gives
    // back only the answers to this handle's own requests.
    std::optional<std::uint16_t> SystemIdentifier() const override { return std::nullopt; }
    std::uint8_t RequestType() const override { return 8; }
    int Admit(const EchoAdmission&) override { return 0; }
    int LimitSendWait(std::uint32_t) override { return 0; }
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override;
    SocketWait Wait(std::int64_t deadlineUs, WakeHandle wake) override;
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override;

private:
    struct Pending;
    void* icmp_ = nullptr;  // the IcmpCreateFile handle
    std::deque<std::unique_ptr<Pending>> pending_;
};

}  // namespace vigilon
