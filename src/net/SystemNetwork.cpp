#include "SystemNetwork.h"

#include "CEchoProbe.h"
#include "NameLookup.h"

namespace vigilon {

namespace {

// A fresh CEchoProbe per cycle, seen through the engine's probe port.
class EchoProbeAdapter : public EchoProber {
public:
    explicit EchoProbeAdapter(UserPrompt& prompt) : probe(prompt) {}
    std::string Ping(const std::string& host, int dataSize) override {
        return probe.Ping(host, dataSize);
    }

private:
    CEchoProbe probe;
};

}  // namespace

std::unique_ptr<EchoProber> SystemNetwork::NewProbe() {
    return std::make_unique<EchoProbeAdapter>(prompt);
}

std::string SystemNetwork::LookupAddress(const std::string& host) {
    return vigilon::LookupAddress(host);
}

std::string SystemNetwork::LookupName(const std::string& address) {
    return vigilon::LookupName(address);
}

}  // namespace vigilon
