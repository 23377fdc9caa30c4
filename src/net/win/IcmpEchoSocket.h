#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "EchoSocket.h"

namespace vigilon {

// One request handed to Windows' echo: the message as the echo rules built
// it, the buffer Windows writes its answer into, and the event it sets when
// done.
struct IcmpRequest {
    void* done = nullptr;  // a manual-reset event
    std::vector<std::uint8_t> message;
    IpAddress to;
    std::vector<std::uint8_t> replies;  // Windows writes here until done is set

    IcmpRequest() = default;
    ~IcmpRequest();
    IcmpRequest(const IcmpRequest&) = delete;
    IcmpRequest& operator=(const IcmpRequest&) = delete;
    bool Done() const;
};

// Windows' echo (iphlpapi), which a standard user may call; raw sockets need
// an administrator there. Each request is sent with an event of its own;
// what Windows reports back is laid out as the message it stands for, so
// that the echo rules above read it as on Linux: a reply carries the request
// back, an error quotes it. Windows chooses the identifier and sequence on
// the wire, gives back only the answers to the handle's own requests, and
// times the round trip itself, in whole milliseconds: the results carry its
// measure (ReceivedEcho::roundTripUs), not the finer one of Linux's kernel
// stamps. A family brings its calls:
// Ipv4EchoSocket (IcmpSendEcho2) and Ipv6EchoSocket (Icmp6SendEcho2).
class IcmpEchoSocket : public EchoSocket {
public:
    IcmpEchoSocket() = default;
    ~IcmpEchoSocket() override;
    IcmpEchoSocket(const IcmpEchoSocket&) = delete;
    IcmpEchoSocket& operator=(const IcmpEchoSocket&) = delete;

    int Open() override;
    bool Unprivileged() const override { return true; }
    std::optional<std::uint16_t> SystemIdentifier() const override { return std::nullopt; }
    int Admit(const EchoAdmission&) override { return 0; }
    int LimitSendWait(std::uint32_t) override { return 0; }
    int Send(const std::vector<std::uint8_t>& message, const IpAddress& to) override;
    // Ends at the first request done, the deadline, or when the wake event
    // is set.
    SocketWait Wait(std::int64_t deadlineUs, WakeHandle wake) override;
    int Receive(std::uint8_t* buffer, int size, ReceivedEcho& got) override;

protected:
    // The family's handle (IcmpCreateFile, Icmp6CreateFile); null with
    // GetLastError when refused.
    virtual void* CreateHandle() = 0;
    // Hands request to Windows on handle, its replies buffer made big
    // enough: IcmpSendEcho2's or Icmp6SendEcho2's result.
    virtual unsigned long SendEcho(void* handle, IcmpRequest& request) = 0;
    // Reads what Windows wrote for a done request; got stays Nothing when
    // it holds nothing for the echo rules.
    virtual void Read(const IcmpRequest& request, std::uint8_t* buffer, int size,
                      ReceivedEcho& got) = 0;

private:
    void* icmp_ = nullptr;
    std::deque<std::unique_ptr<IcmpRequest>> pending_;
};

// The request's header and data as an echo reply of type would carry them:
// code and checksum 0. The bytes written; 0 when buffer is too small.
int EchoedMessage(const IcmpRequest& request, std::uint8_t type, const void* data, int dataBytes,
                  std::uint8_t* buffer, int size);

}  // namespace vigilon
