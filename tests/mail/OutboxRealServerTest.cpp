// The outbox against a real SMTP server (aiosmtpd) that is not there at
// first, with its list in a real file: nothing is lost while the server is
// away or the program restarts, and nothing arrives twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "EngineFakes.h"
#include "MailOutbox.h"
#include "QueuedDispatcher.h"
#include "RealSmtpServer.h"
#include "ScopedTimeZone.h"
#include "WaitingMailFile.h"

namespace vigilon {
namespace {

using namespace std::chrono_literals;

AlertEvent Event(AlertKind kind, std::int64_t time) {
    AlertEvent event;
    event.kind = kind;
    event.time = time;
    event.targetAddress = "target.example";
    event.targetResult = "timed out";
    event.controlResult = "64 bytes from 198.51.100.1: icmp_seq = 1.  time: 9 ms";
    event.mailFrom = "watch@example.org";
    event.mailTo = "ops@example.org";
    return event;
}

MonitorSettings Through(const std::string& server) {
    MonitorSettings settings;
    settings.smtpServer1 = server;
    return settings;
}

class Outcomes : public DeliveryListener {
public:
    void MailDelivered(const AlertEvent& event, const std::string& server) override {
        delivered.push_back(std::string(TargetStatusWord(event.kind)) + " through " + server);
    }
    void MailAttemptFailed(const AlertEvent&, const std::string& server,
                           const std::string& error) override {
        failures.push_back(server + " " + error);
    }
    std::vector<std::string> delivered, failures;
};

class OutboxRealServerTest : public ::testing::Test {
protected:
    OutboxRealServerTest() {
        char pattern[] = "/tmp/vigilon-outbox-XXXXXX";
        folder_ = ::mkdtemp(pattern) != nullptr ? pattern : "";
    }
    ~OutboxRealServerTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // An outbox as a start of the program makes it.
    std::unique_ptr<MailOutbox> Start(WaitingMailFile& file) {
        OutboxOptions options;
        options.send = SmtpSender(port_, SmtpTimeouts{2000ms, 5000ms});
        options.retry = {50ms, 200ms};
        auto outbox = std::make_unique<MailOutbox>(dispatcher_, file, problems_, options);
        outbox->Attach(&outcomes_);
        return outbox;
    }
    std::string Path() const { return folder_ + "/" + kWaitingMailFileName; }
    std::vector<AlertEvent> OnDisk() {
        std::string error;
        std::vector<AlertEvent> mails = WaitingMailFile(Path()).Load(error);
        EXPECT_EQ(error, "");
        return mails;
    }

    test::ScopedTimeZone zone_{"UTC0"};
    std::string folder_;
    const int port_ = test::FreePort("127.0.0.1");  // nobody listens there yet
    test::QueuedDispatcher dispatcher_;
    test::FakeProblems problems_;
    Outcomes outcomes_;
};

TEST_F(OutboxRealServerTest, AlertRefusedUntilTheServerIsBackArrivesOnceWithItsOwnTime) {
    ASSERT_FALSE(folder_.empty());
    WaitingMailFile file(Path());
    std::unique_ptr<MailOutbox> outbox = Start(file);
    const AlertEvent alert = Event(AlertKind::Alert, 1'000'000'000);
    outbox->UseSettings(Through("127.0.0.1"));
    outbox->DeliverAlert(alert, Through("127.0.0.1"));

    ASSERT_TRUE(dispatcher_.RunUntil([&] { return outcomes_.failures.size() >= 2; }));
    EXPECT_EQ(outcomes_.failures[0], "127.0.0.1 Unable to connect to server");
    EXPECT_EQ(OnDisk(), std::vector<AlertEvent>{alert});

    test::RealSmtpServer server("127.0.0.1", port_);
    ASSERT_TRUE(server.Ready());
    ASSERT_TRUE(dispatcher_.RunUntil([&] { return !outcomes_.delivered.empty(); }));
    // Several retry periods more: a mail sent twice would show by now.
    std::this_thread::sleep_for(600ms);
    dispatcher_.RunPosted();

    EXPECT_EQ(outcomes_.delivered, std::vector<std::string>{"OFFLINE through 127.0.0.1"});
    const std::vector<std::string> messages = server.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(test::HeaderValue(messages[0], "Date"), "Sun, 09 Sep 2001 01:46:40 +0000");
    EXPECT_EQ(test::BodyOf(messages[0]),
              "Time: 01:46:40 -- target.example : OFFLINE\nControl Address: ONLINE\n\n");
    EXPECT_FALSE(std::filesystem::exists(Path()));
    EXPECT_TRUE(problems_.reported.empty());
}

TEST_F(OutboxRealServerTest, NextStartSendsWhatTheLastOneLeftInOrder) {
    ASSERT_FALSE(folder_.empty());
    const AlertEvent alert = Event(AlertKind::Alert, 1'000'000'000);
    const AlertEvent recovery = Event(AlertKind::Recovery, 1'000'000'065);
    {
        WaitingMailFile file(Path());
        std::unique_ptr<MailOutbox> first = Start(file);
        first->UseSettings(Through("127.0.0.1"));
        first->DeliverAlert(alert, Through("127.0.0.1"));
        first->DeliverAlert(recovery, Through("127.0.0.1"));
        ASSERT_TRUE(dispatcher_.RunUntil([&] { return !outcomes_.failures.empty(); }));
    }
    EXPECT_EQ(OnDisk(), (std::vector<AlertEvent>{alert, recovery}));

    test::RealSmtpServer server("127.0.0.1", port_);
    ASSERT_TRUE(server.Ready());
    WaitingMailFile file(Path());
    std::unique_ptr<MailOutbox> second = Start(file);
    EXPECT_EQ(second->MailsWaiting(), 2);
    second->UseSettings(Through("127.0.0.1"));
    ASSERT_TRUE(dispatcher_.RunUntil([&] { return outcomes_.delivered.size() >= 2; }));
    std::this_thread::sleep_for(600ms);
    dispatcher_.RunPosted();

    EXPECT_EQ(outcomes_.delivered,
              (std::vector<std::string>{"OFFLINE through 127.0.0.1", "ONLINE through 127.0.0.1"}));
    std::vector<std::string> dates;
    for (const std::string& message : server.Messages())
        dates.push_back(test::HeaderValue(message, "Date"));
    std::sort(dates.begin(), dates.end());
    EXPECT_EQ(dates, (std::vector<std::string>{"Sun, 09 Sep 2001 01:46:40 +0000",
                                               "Sun, 09 Sep 2001 01:47:45 +0000"}));
    EXPECT_FALSE(std::filesystem::exists(Path()));
}

}  // namespace
}  // namespace vigilon
