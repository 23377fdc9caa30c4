#include <gtest/gtest.h>

#include <regex>

#include "AlertMailer.h"
#include "FakeClock.h"
#include "RealSmtpServer.h"
#include "RecordingLog.h"
#include "ScopedTimeZone.h"
#include "ScriptedSmtpServer.h"

namespace vigilon {
namespace {

using namespace std::chrono_literals;
using test::HeaderValue;

constexpr SmtpTimeouts kTestTimeouts{2000ms, 5000ms};
const std::regex kDateForm(R"([A-Z][a-z]{2}, \d\d [A-Z][a-z]{2} \d{4} \d\d:\d\d:\d\d \+0000)");

MonitorSettings AlertSettings(const std::string& server1, const std::string& server2) {
    MonitorSettings s;
    s.targetAddress = "target.example";
    s.mailFrom = "watch@example.org";
    s.mailTo = "ops@example.org;Team <team@example.net>";
    s.smtpServer1 = server1;
    s.smtpServer2 = server2;
    return s;
}

class AlertMailerTest : public ::testing::Test {
protected:
    test::ScopedTimeZone zone_{"UTC0"};
    test::FakeClock clock_{1'000'000'000};  // 01:46:40 UTC
    test::RecordingLog log_;
    MonitorRun run_;
};

TEST_F(AlertMailerTest, AlertAndRecoveryReachRealServer) {
    test::RealSmtpServer server;
    ASSERT_TRUE(server.Ready()) << "aiosmtpd did not start (python3-aiosmtpd installed?)";
    AlertMailer mailer(clock_, server.Port(), kTestTimeouts);
    MonitorSettings settings = AlertSettings("127.0.0.1", "");

    run_.lastResult = "timed out";
    run_.controlResult = "Reply from 192.0.2.1: bytes=32 time=12ms TTL=57";
    mailer.DeliverAlert(settings, run_, log_);
    ASSERT_EQ(server.Messages().size(), 1u) << run_.lastError;

    clock_.now += 65;
    run_.lastResult = "Reply from 198.51.100.7: bytes=32 time=3ms TTL=60";
    run_.controlResult = "timed out";
    mailer.DeliverAlert(settings, run_, log_);

    EXPECT_EQ(run_.emailsSent, 2);
    EXPECT_EQ(run_.lastError, "");
    const std::vector<std::string> messages = server.Messages();
    ASSERT_EQ(messages.size(), 2u);
    // The body ends in its own line end, then the empty line before the dot.
    int seen = 0;
    for (const std::string& m : messages) {
        EXPECT_EQ(HeaderValue(m, "From"), "watch@example.org");
        EXPECT_EQ(HeaderValue(m, "To"), "<ops@example.org>,Team <team@example.net>");
        EXPECT_EQ(HeaderValue(m, "X-RcptTo"), "ops@example.org, team@example.net");
        EXPECT_TRUE(std::regex_match(HeaderValue(m, "Date"), kDateForm)) << m;
        if (HeaderValue(m, "Subject") == "target.example - OFFLINE") {
            EXPECT_EQ(test::BodyOf(m),
                      "Time: 01:46:40 -- target.example : OFFLINE\nControl Address: ONLINE\n\n");
            ++seen;
        } else if (HeaderValue(m, "Subject") == "target.example - ONLINE") {
            EXPECT_EQ(test::BodyOf(m),
                      "Time: 01:47:45 -- target.example : ONLINE\nControl Address: OFFLINE\n\n");
            ++seen;
        }
    }
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(log_.lines,
              (std::vector<std::string>{
                  "EMAIL TO: ops@example.org;Team <team@example.net> (through) 127.0.0.1",
                  "MESSAGE: target.example : OFFLINE : timed out",
                  "Control Ping: Reply from 192.0.2.1: bytes=32 time=12ms TTL=57",
                  "EMAIL TO: ops@example.org;Team <team@example.net> (through) 127.0.0.1",
                  "MESSAGE: target.example : ONLINE : Reply from 198.51.100.7: bytes=32 time=3ms TTL=60",
                  "Control Ping: timed out"}));
}

TEST_F(AlertMailerTest, DeadFirstServerLeavesItsErrorAndSecondDelivers) {
    test::RealSmtpServer server;  // 127.0.0.1 only: the same port on 127.0.0.2 is closed
    ASSERT_TRUE(server.Ready());
    AlertMailer mailer(clock_, server.Port(), kTestTimeouts);
    run_.lastResult = "timed out";
    run_.controlResult = "timed out";

    mailer.DeliverAlert(AlertSettings("127.0.0.2", "127.0.0.1"), run_, log_);

    EXPECT_EQ(run_.lastError, "SMTP 127.0.0.2 Unable to connect to server");
    EXPECT_EQ(run_.emailsSent, 1);
    EXPECT_EQ(server.Messages().size(), 1u);
    ASSERT_EQ(log_.lines.size(), 4u);
    EXPECT_EQ(log_.lines[0], "SMTP 127.0.0.2 Unable to connect to server");
    EXPECT_EQ(log_.lines[1],
              "EMAIL TO: ops@example.org;Team <team@example.net> (through) 127.0.0.1");
}

TEST_F(AlertMailerTest, WrongQuitReplyCountsAsFailureAndFallsBack) {
    using Server = test::ScriptedSmtpServer;
    std::vector<Server::Step> sloppy = {Server::Say("220 hi\r\n")};
    for (int i = 0; i < 4; ++i) sloppy.insert(sloppy.end(), {Server::Hear(), Server::Say("250 ok\r\n")});
    sloppy.insert(sloppy.end(), {Server::Hear(), Server::Say("354 go\r\n"), Server::HearData(),
                                 Server::Say("250 queued\r\n"), Server::Hear(), Server::Say("250 ?\r\n")});
    Server first(sloppy, "127.0.0.1");
    test::RealSmtpServer second("127.0.0.2", first.Port());
    ASSERT_TRUE(second.Ready());
    AlertMailer mailer(clock_, first.Port(), kTestTimeouts);

    mailer.DeliverAlert(AlertSettings("127.0.0.1", "127.0.0.2"), run_, log_);

    EXPECT_EQ(run_.lastError, "SMTP 127.0.0.1 250:SMTP server didn't terminate session");
    EXPECT_EQ(run_.emailsSent, 1);
    EXPECT_EQ(second.Messages().size(), 1u);
    EXPECT_TRUE(first.Received().ends_with("\r\n.\r\nQUIT\r\n"));
}

TEST_F(AlertMailerTest, BothServersFailingLeaveSecondErrorAndLogBoth) {
    using Server = test::ScriptedSmtpServer;
    Server first({Server::Say("421 closing\r\n")}, "127.0.0.1");
    Server second({Server::Say("220 hi\r\n"), Server::Hear(), Server::Say("554 go away\r\n")},
                  "127.0.0.2", first.Port());
    AlertMailer mailer(clock_, first.Port(), kTestTimeouts);
    run_.lastError = "earlier";

    mailer.DeliverAlert(AlertSettings("127.0.0.1", "127.0.0.2"), run_, log_);

    EXPECT_EQ(run_.lastError, "SMTP 127.0.0.2 554:SMTP server error");
    EXPECT_EQ(log_.lines, (std::vector<std::string>{"SMTP 127.0.0.1 Server didn't respond.",
                                                    "SMTP 127.0.0.2 554:SMTP server error"}));
    EXPECT_EQ(run_.emailsSent, 0);
}

TEST_F(AlertMailerTest, EmptySecondServerMeansOneAttempt) {
    using Server = test::ScriptedSmtpServer;
    Server first({Server::Say("421 closing\r\n")});
    AlertMailer mailer(clock_, first.Port(), kTestTimeouts);
    mailer.DeliverAlert(AlertSettings("127.0.0.1", ""), run_, log_);
    EXPECT_EQ(log_.lines, (std::vector<std::string>{"SMTP 127.0.0.1 Server didn't respond."}));
}

TEST_F(AlertMailerTest, EmailSwitchedOffContactsNobody) {
    using Server = test::ScriptedSmtpServer;
    Server first({Server::Say("220 hi\r\n")}, "127.0.0.1");
    Server second({Server::Say("220 hi\r\n")}, "127.0.0.2", first.Port());
    AlertMailer mailer(clock_, first.Port(), kTestTimeouts);
    MonitorSettings settings = AlertSettings("127.0.0.1", "127.0.0.2");
    settings.emailEnabled = 0;
    run_.lastError = "earlier";
    run_.emailsSent = 3;

    mailer.DeliverAlert(settings, run_, log_);
    EXPECT_FALSE(mailer.SendAlert("127.0.0.1", settings, run_, log_));

    EXPECT_FALSE(first.Accepted());
    EXPECT_FALSE(second.Accepted());
    EXPECT_TRUE(log_.lines.empty());
    EXPECT_EQ(run_.lastError, "earlier");
    EXPECT_EQ(run_.emailsSent, 3);
}

}  // namespace
}  // namespace vigilon
