#include "PingWorker.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <stop_token>

#include "EchoChannel.h"
#include "EchoIdentifiers.h"
#include "ErrorText.h"
#include "HostResolver.h"
#include "MonotonicClock.h"
#include "ThreadName.h"
#include "WakeUp.h"

namespace vigilon::ravelin {

namespace {

std::int64_t ToUs(double seconds) { return std::llround(seconds * 1e6); }

class Run {
public:
    Run(const PingSettings& settings, PingEvents& events, const WakeUp& stop)
        : settings(settings), events(events), stop(stop) {}

    void Go() {
        IpAddress destination;
        switch (ResolveHost(settings.host, stop, destination)) {
            case Resolution::Stopped: return;
            case Resolution::Unknown: events.OnFailed("Unknown host: " + settings.host); return;
            case Resolution::Resolved: break;
        }
        EchoChannelSetup setup;
        setup.layout = EchoLayout::NetworkOrder;
        setup.identifier = UnguessableNumber();
        setup.errorsSettle = true;
        EchoChannel channel(NewSystemEchoSocket(destination.Family()), setup);
        if (const int error = channel.Open()) {
            events.OnFailed(SocketFailureMessage(error, settings.programPath));
            return;
        }
        events.OnStarted(destination, channel.Unprivileged());
        Exchange(channel, destination);
    }

private:
    void Exchange(EchoChannel& channel, const IpAddress& destination) {
        const int dataSize = std::clamp(settings.dataSize, 0, PingSettings::kMaxDataSize);
        const std::int64_t intervalUs =
            std::max<std::int64_t>(1000, ToUs(settings.intervalSeconds));
        const std::int64_t waitUs = ToUs(settings.replyWaitSeconds);
        startUs = MonotonicUs();
        wallStart = std::chrono::system_clock::now();
        std::int64_t nextSendUs = startUs;
        std::uint16_t sequence = 1;
        for (;;) {
            const std::int64_t nowUs = MonotonicUs();
            if (nowUs >= nextSendUs) {
                if (const auto refused = channel.Send(destination, sequence++, dataSize))
                    Tell(*refused);
                nextSendUs += intervalUs;
                // After a stall the next request keeps its distance, no burst.
                if (nextSendUs <= nowUs) nextSendUs = nowUs + intervalUs;
            }
            for (const EchoResult& result : channel.Expire(MonotonicUs(), waitUs))
                Tell(result);

            std::int64_t untilUs = nextSendUs;
            if (const auto oldest = channel.OldestSentAtUs())
                untilUs = std::min(untilUs, *oldest + waitUs);
            // What goes wrong while reading is about no request in
            // particular: the waiting ones time out if it keeps going wrong.
            const EchoChannel::Waited waited = channel.Await(untilUs, stop.Handle());
            if (waited.woken || waited.waitError != 0) return;
            for (const EchoResult& result : waited.settled)
                Tell(result);
        }
    }

    void Tell(const EchoResult& result) {
        PingRecord record;
        record.result = result;
        const std::int64_t intoRunUs = result.sentAtUs - startUs;
        record.secondsIntoRun = static_cast<double>(intoRunUs) / 1e6;
        record.sentAt = wallStart + std::chrono::microseconds(intoRunUs);
        events.OnRecord(record);
    }

    const PingSettings& settings;
    PingEvents& events;
    const WakeUp& stop;
    std::int64_t startUs = 0;
    std::chrono::system_clock::time_point wallStart;
};

}  // namespace

void PingWorker::Start(const PingSettings& settings) {
    Stop();
    thread = std::jthread([this, settings](const std::stop_token& token) {
        NameThisThread(kThreadName);
        WakeUp stop;
        if (!stop.Ok()) {
            events.OnFailed("Cannot wait for the network: " + ErrorText(errno));
            return;
        }
        // Signalled at once when stop was asked for before this point.
        const std::stop_callback wake(token, [&stop] { stop.Signal(); });
        Run(settings, events, stop).Go();
    });
}

void PingWorker::Stop() {
    if (!thread.joinable()) return;
    thread.request_stop();
    thread.join();
}

}  // namespace vigilon::ravelin
