// The desktop's notice of an alert and a recovery, told before the mail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertNoticeDelivery.h"
#include "AlertText.h"
#include "FakeClock.h"
#include "RecordingLog.h"

namespace vigilon::test {
namespace {

constexpr const char* kAnswer = "64 bytes from 192.0.2.7: icmp_seq = 3.  time: 2 ms";

// The notification service and the mail, writing down what reaches them in
// one list, so that their order shows.
class Recorder : public app::DesktopNotifier, public AlertDelivery {
public:
    bool Notify(const app::DesktopNotice& notice) override {
        notices.push_back(notice);
        calls.push_back("notice");
        return serviceAnswers;
    }
    void DeliverAlert(const MonitorSettings&, MonitorRun& run, LogWriter& writeLog) override {
        calls.push_back("mail " + run.lastResult);
        writeLog.Write("mailed");
    }

    bool serviceAnswers = true;
    std::vector<app::DesktopNotice> notices;
    std::vector<std::string> calls;
};

class AlertNotice : public ::testing::Test {
protected:
    AlertNotice() { settings.targetAddress = "target.example"; }

    MonitorSettings settings;
    MonitorRun run;
    FakeClock clock{1'000'000'000};
    RecordingLog log;
    Recorder recorder;
    app::AlertNoticeDelivery delivery{recorder, recorder, clock};
};

TEST_F(AlertNotice, TheAlertInTheMailsWordsThenTheMailEvenWithNoService) {
    recorder.serviceAnswers = false;
    run.targetDown = true;
    run.lastResult = "timed out";
    run.controlResult = kAnswer;
    run.outageStart = clock.now - 10;
    delivery.DeliverAlert(settings, run, log);

    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"notice", "mail timed out"}));
    EXPECT_EQ(log.lines, std::vector<std::string>{"mailed"}) << "the mail keeps its log";
    ASSERT_EQ(recorder.notices.size(), 1u);
    EXPECT_EQ(recorder.notices[0].kind, app::NoticeKind::TargetDown);
    EXPECT_EQ(recorder.notices[0].summary, "target.example - OFFLINE");
    EXPECT_EQ(recorder.notices[0].body, AlertBody(clock.now, "target.example", "OFFLINE", "ONLINE"))
        << "no outage length while it lasts";
}

TEST_F(AlertNotice, TheRecoveryAddsHowLongTheOutageLasted) {
    run.lastResult = kAnswer;
    run.controlResult = "timed out";
    run.outageStart = clock.now - 125;
    delivery.DeliverAlert(settings, run, log);

    ASSERT_EQ(recorder.notices.size(), 1u);
    EXPECT_EQ(recorder.notices[0].kind, app::NoticeKind::TargetAnswers);
    EXPECT_EQ(recorder.notices[0].summary, "target.example - ONLINE");
    EXPECT_EQ(recorder.notices[0].body,
              AlertBody(clock.now, "target.example", "ONLINE", "OFFLINE") + "\nOutage: 00:02:05");
    EXPECT_EQ(recorder.calls.back(), std::string("mail ") + kAnswer);
}

TEST_F(AlertNotice, OutageLengthsPastADayAndAClockSetBack) {
    EXPECT_EQ(app::OutageText(0), "Outage: 00:00:00");
    EXPECT_EQ(app::OutageText(59), "Outage: 00:00:59");
    EXPECT_EQ(app::OutageText(3600), "Outage: 01:00:00");
    EXPECT_EQ(app::OutageText(86400 + 3600 + 61), "Outage: 25:01:01") << "hours go on counting";
    EXPECT_EQ(app::OutageText(-40), "Outage: 00:00:00");
}

}  // namespace
}  // namespace vigilon::test
