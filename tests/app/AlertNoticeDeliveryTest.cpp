// The desktop's notice of an alert and a recovery, told before the mail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertNoticeDelivery.h"
#include "AlertText.h"

namespace vigilon::test {
namespace {

constexpr const char* kAnswer = "64 bytes from 192.0.2.7: icmp_seq = 3.  time: 2 ms";
constexpr std::int64_t kNow = 1'000'000'000;

// The notification service and the mail, writing down what reaches them in
// one list, so that their order shows.
class Recorder : public app::DesktopNotifier, public AlertDelivery {
public:
    bool Notify(const app::DesktopNotice& notice) override {
        notices.push_back(notice);
        calls.push_back("notice");
        return serviceAnswers;
    }
    void Attach(DeliveryListener*) override {}
    void DeliverAlert(const AlertEvent& event, const MonitorSettings&) override {
        calls.push_back("mail " + event.targetResult);
    }
    void UseSettings(const MonitorSettings&) override {}
    int MailsWaiting() const override { return 0; }

    bool serviceAnswers = true;
    std::vector<app::DesktopNotice> notices;
    std::vector<std::string> calls;
};

class AlertNotice : public ::testing::Test {
protected:
    AlertNotice() {
        event.targetAddress = "target.example";
        event.time = kNow;
    }

    AlertEvent event;
    MonitorSettings settings;
    Recorder recorder;
    app::AlertNoticeDelivery delivery{recorder, recorder};
};

TEST_F(AlertNotice, TheAlertInTheMailsWordsThenTheMailEvenWithNoService) {
    recorder.serviceAnswers = false;
    event.kind = AlertKind::Alert;
    event.targetResult = "timed out";
    event.controlResult = kAnswer;
    event.outageStart = kNow - 10;
    delivery.DeliverAlert(event, settings);

    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"notice", "mail timed out"}));
    ASSERT_EQ(recorder.notices.size(), 1u);
    EXPECT_EQ(recorder.notices[0].kind, app::NoticeKind::TargetDown);
    EXPECT_EQ(recorder.notices[0].summary, "target.example - OFFLINE");
    EXPECT_EQ(recorder.notices[0].body, AlertBody(kNow, "target.example", "OFFLINE", "ONLINE"))
        << "no outage length while it lasts";
}

TEST_F(AlertNotice, TheRecoveryAddsHowLongTheOutageLasted) {
    event.kind = AlertKind::Recovery;
    event.targetResult = kAnswer;
    event.controlResult = "timed out";
    event.outageStart = kNow - 125;
    delivery.DeliverAlert(event, settings);

    ASSERT_EQ(recorder.notices.size(), 1u);
    EXPECT_EQ(recorder.notices[0].kind, app::NoticeKind::TargetAnswers);
    EXPECT_EQ(recorder.notices[0].summary, "target.example - ONLINE");
    EXPECT_EQ(recorder.notices[0].body,
              AlertBody(kNow, "target.example", "ONLINE", "OFFLINE") + "\nOutage: 00:02:05");
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
