#pragma once

#include "IcmpEchoSocket.h"

namespace vigilon {

// Windows' echo for IPv4: IcmpSendEcho2. Windows does not hand over the IP
// header of what answered, which is taken as the plain 20 bytes.
class Ipv4EchoSocket : public IcmpEchoSocket {
public:
    std::uint8_t RequestType() const override { return 8; }

protected:
    void* CreateHandle() override;
    unsigned long SendEcho(void* handle, IcmpRequest& request) override;
    void Read(const IcmpRequest& request, std::uint8_t* buffer, int size,
              ReceivedEcho& got) override;
};

}  // namespace vigilon
