// Desktop notifications through a notification service on the test's
// private session bus (peers/notification_service.py), at the moments of an
// outage that send mail: the engine runs on its fakes, the notices go
// through the real toolkit and D-Bus.
#include <gtest/gtest.h>

#include <wx/log.h>
#include <wx/toplevel.h>

#include <functional>
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

class DesktopNotification : public ::testing::Test {
protected:
    DesktopNotification() {
        network.addresses["target.example"] = kTargetIp;
        MonitorSettings& settings = engine.Settings();
        settings.targetAddress = "target.example";
        settings.controlAddress = "control.example";
        settings.timeoutsBeforeEmail = 3;
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
    MonitorEngine engine{{timers, display, network, work, alerts, eventLog, clock, pause, problems}};
};

TEST_F(DesktopNotification, AnOutageGivesOneNotificationAtTheAlertAndOneAtTheRecovery) {
    PeerProcess service("notification_service.py");
    ASSERT_TRUE(service.Ready());
    const std::int64_t firstTimeOut = clock.now + 5;
    std::vector<std::size_t> seen;
    RunOutage([&](int) {
        PumpFor(50ms);
        seen.push_back(service.Received("notify").size());
    });
    PumpFor(500ms);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 0, 1, 1, 1, 2})) << "one at the alert, one at the recovery";
    EXPECT_EQ(mail.events.size(), 2u) << "the mail goes out as before";

    const std::vector<PeerProcess::Line> notices = service.Received("notify");
    ASSERT_EQ(notices.size(), 2u);
    // notify <app> <summary> <body> <urgency> <has image> <id>
    const PeerProcess::Line& alert = notices[0];
    const PeerProcess::Line& recovery = notices[1];
    EXPECT_EQ(alert[2], "target.example - OFFLINE");
    EXPECT_EQ(alert[3], AlertBody(firstTimeOut + 10, "target.example", "OFFLINE", "ONLINE"));
    EXPECT_EQ(recovery[2], "target.example - ONLINE");
    EXPECT_EQ(recovery[3], AlertBody(firstTimeOut + 25, "target.example", "ONLINE", "ONLINE") + "\nOutage: 00:00:25");
    for (const PeerProcess::Line& notice : notices) {
        EXPECT_EQ(notice[4], "1") << "normal urgency, shown as a banner";
        EXPECT_EQ(notice[5], "True") << "with the tray picture";
    }
    EXPECT_NE(alert[6], recovery[6]) << "a new notification, not the alert replaced";
    EXPECT_TRUE(service.Received("close").empty()) << "each stays on the desktop until it expires";
}

TEST_F(DesktopNotification, WithoutAServiceNothingShowsAndNothingIsSaid) {
    LogRecorder recorder;
    wxLog* previous = wxLog::SetActiveTarget(&recorder);
    wxLog::SetVerbose(true);

    EXPECT_FALSE(desktop.Notify({app::NoticeKind::TargetDown, "target.example - OFFLINE", "body"}));
    const auto start = std::chrono::steady_clock::now();
    RunOutage();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "a missing service answers at once";
    PumpFor(300ms);
    EXPECT_EQ(mail.events.size(), 2u);
    EXPECT_TRUE(wxTopLevelWindows.empty()) << "no message box, no window";

    wxLog::SetActiveTarget(previous);
    wxLog::SetVerbose(false);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front();
}

}  // namespace
}  // namespace vigilon::test
