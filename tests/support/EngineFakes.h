#pragma once

// Fakes of the engine's ports: they record what the engine asked of the
// window, the timers and the network, and answer from a script.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MonitorPorts.h"

namespace vigilon::test {

class FakeTimers : public Timers {
public:
    void Arm(int timerId, std::uint32_t periodMs) override { armed[timerId] = periodMs; }
    void Stop(int timerId) override { armed.erase(timerId); }

    std::optional<std::uint32_t> Period(int timerId) const {
        auto it = armed.find(timerId);
        if (it == armed.end()) return std::nullopt;
        return it->second;
    }
    bool IsArmed(int timerId) const { return armed.count(timerId) != 0; }

    std::map<int, std::uint32_t> armed;
};

class FakeDisplay : public MonitorDisplay {
public:
    void ShowLamp(Lamp lamp, bool visible) override { lamps[lamp] = visible; }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetToggleButtonText(const std::string& text) override { buttonText = text; }
    void EnableStartStop(bool start, bool stop) override {
        startEnabled = start;
        stopEnabled = stop;
    }
    void SetProgress(int position) override { progress.push_back(position); }
    void Refresh(const MonitorSettings&, const MonitorRun& run) override {
        ++refreshes;
        shownCountdown = run.countdown;
        shownResult = run.lastResult;
        shownPingNumber = run.pingNumberText;
    }
    void SetTrayState(TrayState state) override { tray = state; }
    void HideWindow() override { hidden = true; }
    void SetMenuChecks(bool log, bool email) override {
        logChecked = log;
        emailChecked = email;
    }

    bool LampVisible(Lamp lamp) const {
        auto it = lamps.find(lamp);
        return it != lamps.end() && it->second;
    }

    std::map<Lamp, bool> lamps;
    std::string caption, buttonText, shownResult, shownPingNumber;
    bool startEnabled = true, stopEnabled = false, hidden = false;
    bool logChecked = true, emailChecked = true;  // as the menu starts
    std::vector<int> progress;
    int refreshes = 0;
    int shownCountdown = 0;
    std::optional<TrayState> tray;
};

// Answers each host from a queue of results (the last one repeats) and
// records every probe as (probe number, host).
class FakeNetwork : public NetworkProbes {
public:
    struct Ping {
        int probe;
        int sequence;  // calls made earlier on the same probe
        std::string host;
    };

    std::unique_ptr<EchoProber> NewProbe() override {
        return std::make_unique<Prober>(*this, ++probesMade);
    }
    std::string LookupAddress(const std::string& host) override {
        addressLookups.push_back(host);
        auto it = addresses.find(host);
        return it != addresses.end() ? it->second : "Can't resolve " + host;
    }
    std::string LookupName(const std::string& address) override {
        nameLookups.push_back(address);
        return "name-of-" + address;
    }

    void Script(const std::string& host, std::vector<std::string> results) {
        scripted[host] = std::deque<std::string>(results.begin(), results.end());
    }
    int PingsTo(const std::string& host) const {
        int count = 0;
        for (const Ping& ping : pings) count += ping.host == host;
        return count;
    }

    std::map<std::string, std::string> addresses;
    std::map<std::string, std::deque<std::string>> scripted;
    std::vector<Ping> pings;
    std::vector<std::string> addressLookups, nameLookups;
    int probesMade = 0;
    // Runs inside a Ping, as a user command dispatched by a message box would.
    std::function<void()> duringNextPing;

private:
    class Prober : public EchoProber {
    public:
        Prober(FakeNetwork& network, int number) : network_(network), number_(number) {}
        std::string Ping(const std::string& host, int dataSize) override {
            EXPECT_EQ(dataSize, 32);
            network_.pings.push_back({number_, calls_++, host});
            if (auto hook = std::exchange(network_.duringNextPing, nullptr)) hook();
            std::deque<std::string>& queue = network_.scripted[host];
            if (queue.empty()) return "64 bytes from " + host + ": icmp_seq = 0.  time: 1 ms";
            std::string result = queue.front();
            if (queue.size() > 1) queue.pop_front();
            return result;
        }

    private:
        FakeNetwork& network_;
        int number_;
        int calls_ = 0;
    };
};

// Records each delivery with what the run held at that moment and logs one
// line through the gated log, as the mail module does.
class FakeAlerts : public AlertDelivery {
public:
    struct Delivery {
        std::string lastResult;
        std::string controlResult;
        bool alertSent;
    };
    void DeliverAlert(const MonitorSettings&, MonitorRun& run, LogWriter& writeLog) override {
        deliveries.push_back({run.lastResult, run.controlResult, run.alertSent});
        writeLog.Write("DELIVERED " + run.lastResult);
        if (auto hook = std::exchange(duringNextDelivery, nullptr)) hook();
    }
    std::vector<Delivery> deliveries;
    // Runs inside a delivery, as a command dispatched by a message box would.
    std::function<void()> duringNextDelivery;
};

class FakePause : public Pause {
public:
    void Wait(std::uint32_t milliseconds) override { waits.push_back(milliseconds); }
    std::vector<std::uint32_t> waits;
};

}  // namespace vigilon::test
