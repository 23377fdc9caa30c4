#include "TcpStream.h"

#include "HostLookup.h"

namespace vigilon {

// The steps that know no platform; posix/ and win/ hold the socket calls.

bool TcpStream::Create() { return CreateFor(AF_INET); }

bool TcpStream::Connect(const std::string& host, int port, Deadline deadline) {
    if (!fd_ || port <= 0 || port > 65535) return false;
    for (const ServerAddress& address : LookupServerAddresses(host, port, deadline)) {
        // A socket whose connect failed cannot be used for another try, nor
        // one of the other family at all. A family the system lacks leaves
        // the other's addresses to try.
        if (!fd_ || tried_ || address.Family() != family_) {
            if (!CreateFor(address.Family())) continue;
        }
        tried_ = true;
        if (ConnectOne(&address.socket, address.length, deadline)) {
            SendAtOnce();
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
    }
    return false;
}

}  // namespace vigilon
