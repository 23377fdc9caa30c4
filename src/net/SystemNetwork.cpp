#include "SystemNetwork.h"

#include "CEchoProbe.h"
#include "NameLookup.h"
#include "ProbeText.h"

namespace vigilon {

namespace {

// A fresh CEchoProbe per cycle, seen through the engine's probe port.
class EchoProbeAdapter : public EchoProber {
public:
    ProbeOutcome Ping(const std::string& host, int dataSize) override {
        const EchoResult result = probe.Exchange(host, dataSize);
        const bool reply = result.outcome == EchoOutcome::Reply;
        return {ProbeText(result, host), result.outcome == EchoOutcome::LocalError,
                reply ? result.roundTripUs : -1, reply ? result.ttl : -1};
    }

private:
    CEchoProbe probe;
};

}  // namespace

std::unique_ptr<EchoProber> SystemNetwork::NewProbe() {
    return std::make_unique<EchoProbeAdapter>();
}

LookupOutcome SystemNetwork::LookupAddress(const std::string& host) {
    return vigilon::LookupAddress(host);
}

LookupOutcome SystemNetwork::LookupName(const std::string& address) {
    return vigilon::LookupName(address);
}

}  // namespace vigilon
