#pragma once

#include "MonitorPorts.h"
#include "UserPrompt.h"

namespace vigilon {

// The monitoring engine's network: real ICMP probes and the system resolver.
class SystemNetwork : public NetworkProbes {
public:
    explicit SystemNetwork(UserPrompt& prompt) : prompt(prompt) {}

    std::unique_ptr<EchoProber> NewProbe() override;
    std::string LookupAddress(const std::string& host) override;
    std::string LookupName(const std::string& address) override;

private:
    UserPrompt& prompt;
};

}  // namespace vigilon
