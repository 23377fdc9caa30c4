// Desktop notifications through a notification service on the test's
// private session bus (peers/notification_service.py), at the moments of an
// outage that send mail: the engine runs on its fakes, the notices go
// through D-Bus to a real service, a missing one or one that never answers.
#include <gtest/gtest.h>

#include <wx/log.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AlertNoticeDelivery.h"
#include "AlertText.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "GuiSession.h"
#include "MonitorEngine.h"
#include "PeerProcess.h"
#include "RecordingLog.h"
#include "WxDesktopNotifier.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTargetIp = "192.0.2.7";

// What the toolkit logs at the levels a program's user is shown (in a
// message box, by default).
class LogRecorder : public wxLog {
public:
    std::vector<std::string> shown;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo&) override {
        if (level <= wxLOG_Info) shown.push_back(message.utf8_string());
    }
};

// Records the toolkit's log for one scope, verbose messages included.
class ScopedLogRecorder : public LogRecorder {
public:
    ScopedLogRecorder() : previous_(wxLog::SetActiveTarget(this)) { wxLog::SetVerbose(true); }
    ~ScopedLogRecorder() override {
        wxLog::SetActiveTarget(previous_);
        wxLog::SetVerbose(false);
    }

private:
    wxLog* previous_;
};

// The longest time the window's event loop went without running a timer:
// a call that waits for the service would show as a gap of seconds.
class TimerGaps {
public:
    TimerGaps() {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        timer_.Start(50);
    }
    std::chrono::steady_clock::duration Longest() {
        Tick();
        return longest_;
    }

private:
    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    wxTimer timer_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration longest_{};
};

struct Rgba {
    int red = -1, green = -1, blue = -1, alpha = -1;
};

// The service's "R,G,B,A" sample of a notice's picture.
Rgba Sample(const std::string& field) {
    Rgba colour;
    std::sscanf(field.c_str(), "%d,%d,%d,%d", &colour.red, &colour.green, &colour.blue,
                &colour.alpha);
    return colour;
}

class DesktopNotification : public ::testing::Test {
protected:
    DesktopNotification() {
        network.addresses["target.example"] = kTargetIp;
        MonitorSettings settings = engine.Settings();
        settings.targetAddress = "target.example";
        settings.controlAddress = "control.example";
        settings.timeoutsBeforeEmail = 3;
        engine.AdoptSettings(settings);
        engine.ToggleMonitoring();
    }

    void Cycle(const std::string& result) {
        clock.now += 5;
        network.Script(kTargetIp, {result});
        engine.OnTimer(TIMER_PING);
    }
    // A whole outage: the alert on the third time-out, two more time-outs,
    // the recovery at the first answer.
    void RunOutage(const std::function<void(int cycle)>& afterCycle = [](int) {}) {
        for (int cycle = 1; cycle <= 6; ++cycle) {
            Cycle(cycle <= 5 ? "timed out" : "64 bytes from 192.0.2.7: icmp_seq = 5.  time: 2 ms");
            afterCycle(cycle);
        }
    }

    FakeTimers timers;
    FakeDisplay display;
    FakeNetwork network;
    InlineWork work;
    FakeAlerts mail;
    RecordingLog eventLog;
    FakeClock clock;
    FakePause pause;
    FakeProblems problems;
    app::WxDesktopNotifier desktop;
    app::AlertNoticeDelivery alerts{mail, desktop};
    MonitorEngine engine{
        {timers, display, network, work, alerts, eventLog, clock, pause, problems}};
};

TEST_F(DesktopNotification, AnOutageGivesOneNotificationAtTheAlertAndOneAtTheRecovery) {
    PeerProcess service("notification_service.py");
    ASSERT_TRUE(service.Ready());
    const std::int64_t firstTimeOut = clock.now + 5;
    std::vector<std::size_t> seen;
    RunOutage([&](int) {
        PumpFor(250ms);
        seen.push_back(service.Received("notify").size());
    });
    PumpFor(250ms);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 0, 1, 1, 1, 2}))
        << "one at the alert, one at the recovery";
    EXPECT_EQ(mail.events.size(), 2u) << "the mail goes out as before";

    const std::vector<PeerProcess::Line> notices = service.Received("notify");
    ASSERT_EQ(notices.size(), 2u);
    // notify <app> <summary> <body> <urgency> <has image> <id> <image size> <image sample>
    const PeerProcess::Line& alert = notices[0];
    const PeerProcess::Line& recovery = notices[1];
    EXPECT_EQ(alert[1], "Vigilon");
    EXPECT_EQ(alert[2], "target.example - OFFLINE");
    EXPECT_EQ(alert[3], AlertBody(firstTimeOut + 10, "target.example", "OFFLINE", "ONLINE"));
    EXPECT_EQ(recovery[2], "target.example - ONLINE");
    EXPECT_EQ(recovery[3], AlertBody(firstTimeOut + 25, "target.example", "ONLINE", "ONLINE") +
                               "\nOutage: 00:00:25");
    for (const PeerProcess::Line& notice : notices) {
        EXPECT_EQ(notice[4], "1") << "normal urgency, shown as a banner";
        EXPECT_EQ(notice[5], "True") << "with the tray picture";
        EXPECT_EQ(notice[7], "48x48");
    }
    const Rgba alertLamp = Sample(alert[8]), recoveryLamp = Sample(recovery[8]);
    EXPECT_GT(alertLamp.red, alertLamp.green + 30) << "the red lamp at the alert: " << alert[8];
    EXPECT_GT(recoveryLamp.green, recoveryLamp.red + 30)
        << "the green lamp at the recovery: " << recovery[8];
    EXPECT_EQ(alertLamp.alpha, 255) << "drawn, not transparent";
    EXPECT_NE(alert[6], recovery[6]) << "a new notification, not the alert replaced";
    EXPECT_TRUE(service.Received("close").empty()) << "each stays on the desktop until it expires";
    EXPECT_EQ(service.Received("capabilities").size(), 1u) << "asked once, not at every notice";
}

TEST_F(DesktopNotification, WithoutAServiceNothingShowsAndNothingIsSaid) {
    ScopedLogRecorder recorder;
    const auto start = std::chrono::steady_clock::now();
    RunOutage();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s)
        << "no notice waits for a missing service";
    PumpFor(300ms);  // the bus's refusals come back
    EXPECT_EQ(mail.events.size(), 2u);
    EXPECT_TRUE(wxTopLevelWindows.empty()) << "no message box, no window";
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front();
}

TEST_F(DesktopNotification, AServiceThatNeverAnswersHoldsUpNeitherTheWindowNorTheMail) {
    PeerProcess service("notification_service.py", {"--silent"});
    ASSERT_TRUE(service.Ready());
    ScopedLogRecorder recorder;

    const auto start = std::chrono::steady_clock::now();
    RunOutage();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "no notice waits for the service";
    EXPECT_EQ(mail.events.size(), 2u);

    // The service is asked what it can do, and the notices follow once that
    // question has timed out; then they wait for their own answers.
    TimerGaps loop;
    ASSERT_TRUE(service.Take("capabilities").has_value());
    ASSERT_TRUE(service.Take("notify", 20s).has_value()) << "sent after the question's time-out";
    EXPECT_TRUE(service.Take("notify").has_value());
    PumpFor(1s);
    EXPECT_LT(loop.Longest(), 1s) << "the window's timers ran on time throughout";
    EXPECT_TRUE(wxTopLevelWindows.empty()) << "no message box, no window";
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front();
}

TEST_F(DesktopNotification, ANotifierGoneBeforeItsAnswersAsksAndSendsNothingMore) {
    PeerProcess service("notification_service.py", {"--silent"});
    ASSERT_TRUE(service.Ready());
    const app::DesktopNotice notice{app::NoticeKind::TargetDown, "target.example - OFFLINE",
                                    "body"};

    auto notifier = std::make_unique<app::WxDesktopNotifier>();
    notifier->Notify(notice);
    notifier.reset();  // before the bus came
    PumpFor(500ms);
    EXPECT_TRUE(service.Received("capabilities").empty());

    notifier = std::make_unique<app::WxDesktopNotifier>();
    notifier->Notify(notice);
    ASSERT_TRUE(service.Take("capabilities").has_value());
    notifier.reset();  // while the service keeps the question
    PumpFor(500ms);    // the cancelled question's end comes back at once
    EXPECT_TRUE(service.Received("notify").empty());
}

// A body with markup's characters and a target read from a Latin-1
// settings file, as the service receives them.
class NotificationTexts : public DesktopNotification {
protected:
    std::optional<PeerProcess::Line> Received(const std::vector<std::string>& serviceArguments) {
        PeerProcess service("notification_service.py", serviceArguments);
        if (!service.Ready()) return std::nullopt;
        desktop.Notify({app::NoticeKind::TargetDown, "caf\xE9.example - OFFLINE",
                        "At caf\xE9: a<b>&c 'q' \"d\""});
        return service.Take("notify");
    }
};

TEST_F(NotificationTexts, AMarkupServiceReceivesTheBodyEscaped) {
    const std::optional<PeerProcess::Line> notice = Received({"--markup"});
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ((*notice)[2], "caf\xC3\xA9.example - OFFLINE") << "a summary is never markup";
    EXPECT_EQ((*notice)[3], "At caf\xC3\xA9: a&lt;b&gt;&amp;c &#39;q&#39; &quot;d&quot;");
}

TEST_F(NotificationTexts, APlainServiceReceivesTheBodyAsTyped) {
    const std::optional<PeerProcess::Line> notice = Received({});
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ((*notice)[2], "caf\xC3\xA9.example - OFFLINE");
    EXPECT_EQ((*notice)[3], "At caf\xC3\xA9: a<b>&c 'q' \"d\"");
}

}  // namespace
}  // namespace vigilon::test
