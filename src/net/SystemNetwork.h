#pragma once

#include "MonitorPorts.h"

namespace vigilon {

// The monitoring engine's network: real ICMP probes and the system resolver.
// Holds no state, so the work it does beside the engine needs nothing else.
class SystemNetwork : public NetworkProbes {
public:
    std::unique_ptr<EchoProber> NewProbe() override;
    LookupOutcome LookupAddress(const std::string& host) override;
    LookupOutcome LookupName(const std::string& address) override;
};

}  // namespace vigilon
