#pragma once

// Fakes of the engine's ports: they record what the engine asked of the
// window, the timers and the network, and answer from a script.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "MonitorPorts.h"
#include "ProblemReport.h"

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
        shownEmails = run.emailsText;
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
    std::string caption, buttonText, shownResult, shownPingNumber, shownEmails;
    bool startEnabled = true, stopEnabled = false, hidden = false;
    bool logChecked = true, emailChecked = true;  // as the menu starts
    std::vector<int> progress;
    int refreshes = 0;
    int shownCountdown = 0;
    std::optional<TrayState> tray;
};

// Answers each host from a queue of results (the last one repeats) and
// records every probe as (probe number, host). A result listed in
// localFailures comes back as a failure of this machine.
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
    LookupOutcome LookupAddress(const std::string& host) override {
        addressLookups.push_back(host);
        auto it = addresses.find(host);
        if (it == addresses.end()) return {false, "Can't resolve " + host};
        return {true, it->second};
    }
    LookupOutcome LookupName(const std::string& address) override {
        nameLookups.push_back(address);
        return {true, "name-of-" + address};
    }

    void Script(const std::string& host, std::vector<std::string> results) {
        scripted[host] = std::deque<std::string>(results.begin(), results.end());
    }
    int PingsTo(const std::string& host) const {
        int count = 0;
        for (const Ping& ping : pings)
            count += ping.host == host;
        return count;
    }

    std::map<std::string, std::string> addresses;
    std::map<std::string, std::deque<std::string>> scripted;
    std::set<std::string> localFailures{"sendto failed: 101", "WSASocket() failed: 13"};
    std::vector<Ping> pings;
    std::vector<std::string> addressLookups, nameLookups;
    int probesMade = 0;
    // What every outcome carries beside its text.
    std::int64_t roundTripUs = 1500;
    int hopLimit = 57;
    // Runs inside a Ping, as a user command arriving while the probe is out would.
    std::function<void()> duringNextPing;

private:
    class Prober : public EchoProber {
    public:
        Prober(FakeNetwork& network, int number) : network_(network), number_(number) {}
        ProbeOutcome Ping(const std::string& host, int dataSize) override {
            EXPECT_EQ(dataSize, 32);
            network_.pings.push_back({number_, calls_++, host});
            if (auto hook = std::exchange(network_.duringNextPing, nullptr)) hook();
            std::deque<std::string>& queue = network_.scripted[host];
            if (queue.empty())
                return {"64 bytes from " + host + ": icmp_seq = 0.  time: 1 ms", false,
                        network_.roundTripUs, network_.hopLimit};
            std::string result = queue.front();
            if (queue.size() > 1) queue.pop_front();
            return {result, network_.localFailures.count(result) != 0, network_.roundTripUs,
                    network_.hopLimit};
        }

    private:
        FakeNetwork& network_;
        int number_;
        int calls_ = 0;
    };
};

// Runs each job and its continuation at once, as if the worker answered
// instantly; with hold set, keeps them until RunHeld, so that a test can
// act while a lookup or probe is out.
class InlineWork : public BackgroundWork {
public:
    void Run(Job job) override {
        if (hold) {
            held.push_back(std::move(job));
            return;
        }
        ++jobsRun;
        if (std::function<void()> then = job()) then();
    }
    // Runs the oldest held job and its continuation; false when none is held.
    bool RunHeld() {
        if (held.empty()) return false;
        Job job = std::move(held.front());
        held.pop_front();
        ++jobsRun;
        if (std::function<void()> then = job()) then();
        return true;
    }
    bool hold = false;
    std::deque<Job> held;
    int jobsRun = 0;
};

// Records each mail handed over, with its event, and tells the attached
// listener what a test says became of it.
class FakeAlerts : public AlertDelivery {
public:
    void Attach(DeliveryListener* attached) override { listener = attached; }
    void DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) override {
        events.push_back(event);
        if (settings.emailEnabled != 0) ++waiting;
        if (auto hook = std::exchange(duringNextDelivery, nullptr)) hook();
        if (deliverAtOnce && listener != nullptr) Delivered("smtp.example");
    }
    void UseSettings(const MonitorSettings& settings) override { used.push_back(settings); }
    int MailsWaiting() const override { return waiting; }

    void Delivered(const std::string& server) {
        ASSERT_NE(listener, nullptr);
        --waiting;
        listener->MailDelivered(events.back(), server);
    }
    void Failed(const std::string& server, const std::string& error) {
        ASSERT_NE(listener, nullptr);
        listener->MailAttemptFailed(events.back(), server, error);
    }

    DeliveryListener* listener = nullptr;
    std::vector<AlertEvent> events;
    std::vector<MonitorSettings> used;
    int waiting = 0;
    bool deliverAtOnce = false;  // every mail taken by smtp.example as it is handed over
    // Runs inside a hand-over, as a command arriving at that moment would.
    std::function<void()> duringNextDelivery;
};

// Records each pause and ends it at once, unless hold keeps it for RunHeld.
class FakePause : public Pause {
public:
    void After(std::uint32_t milliseconds, std::function<void()> then) override {
        waits.push_back(milliseconds);
        if (hold)
            held.push_back(std::move(then));
        else
            then();
    }
    bool RunHeld() {
        if (held.empty()) return false;
        std::function<void()> then = std::move(held.front());
        held.pop_front();
        then();
        return true;
    }
    std::vector<std::uint32_t> waits;
    bool hold = false;
    std::deque<std::function<void()>> held;
};

class FakeProblems : public ProblemReport {
public:
    void Report(const std::string& text, MessageIcon) override { reported.push_back(text); }
    std::vector<std::string> reported;
};

}  // namespace vigilon::test
