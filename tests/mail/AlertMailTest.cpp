#include <gtest/gtest.h>

#include "AlertMail.h"
#include "ScopedTimeZone.h"
#include "ScriptedSmtpServer.h"
#include "ServerDelivery.h"

namespace vigilon {
namespace {

using namespace std::chrono_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Recipients(const CNotifyMail& mail) {
    Pairs out;
    for (const MailRecipient& r : mail.recipients)
        out.emplace_back(r.address, r.name);
    return out;
}

AlertEvent Event(AlertKind kind, std::int64_t time, const std::string& control) {
    AlertEvent event;
    event.kind = kind;
    event.time = time;
    event.outageStart = 999'999'990;
    event.targetAddress = "target.example";
    event.targetResult = "timed out";
    event.controlResult = control;
    event.mailFrom = "watch@example.org";
    event.mailTo = "ops@example.org;Team <team@example.net>";
    return event;
}

// Everything comes from the event: the mail of an event an hour old still
// tells of its moment, its target and its control probe.
TEST(AlertMail, TellsOfItsEvent) {
    test::ScopedTimeZone zone("UTC0");
    const CNotifyMail alert = ComposeAlertMail(Event(
        AlertKind::Alert, 1'000'000'000, "64 bytes from 192.0.2.1: icmp_seq = 4.  time: 12 ms"));
    EXPECT_EQ(alert.from, "watch@example.org");
    EXPECT_EQ(Recipients(alert), (Pairs{{"ops@example.org", ""}, {"team@example.net", "Team "}}));
    EXPECT_EQ(alert.subject, "target.example - OFFLINE");
    EXPECT_EQ(alert.body, "Time: 01:46:40 -- target.example : OFFLINE\nControl Address: ONLINE");
    EXPECT_EQ(alert.date, 1'000'000'000);

    // Only an echo reply's own line is an answer.
    const CNotifyMail recovery = ComposeAlertMail(Event(
        AlertKind::Recovery, 1'000'000'065, "Reply from 192.0.2.1: bytes=32 time=12ms TTL=57"));
    EXPECT_EQ(recovery.subject, "target.example - ONLINE");
    EXPECT_EQ(recovery.body, "Time: 01:47:45 -- target.example : ONLINE\nControl Address: OFFLINE");
    EXPECT_EQ(recovery.date, 1'000'000'065);

    // Every try of one event's mail bears one Message-ID; another event another.
    EXPECT_TRUE(alert.messageKey.has_value());
    EXPECT_EQ(ComposeAlertMail(Event(AlertKind::Alert, 1'000'000'000,
                                     "64 bytes from 192.0.2.1: icmp_seq = 4.  time: 12 ms"))
                  .messageKey,
              alert.messageKey);
    EXPECT_NE(recovery.messageKey, alert.messageKey);
}

// A bare host must end the session as SMTP says; one that takes the
// message but answers QUIT wrongly has not delivered it cleanly, yet it has
// the message.
TEST(ServerDelivery, BareHostThatDoesNotEndTheSessionHasTheMessageButNotACleanEnd) {
    using Server = test::ScriptedSmtpServer;
    std::vector<Server::Step> sloppy = {Server::Say("220 hi\r\n")};
    for (int i = 0; i < 3; ++i)
        sloppy.insert(sloppy.end(), {Server::Hear(), Server::Say("250 ok\r\n")});
    sloppy.insert(sloppy.end(),
                  {Server::Hear(), Server::Say("354 go\r\n"), Server::HearData(),
                   Server::Say("250 queued\r\n"), Server::Hear(), Server::Say("250 ?\r\n")});
    Server server(sloppy);
    CNotifyMail message = ComposeAlertMail(Event(AlertKind::Alert, 1'000'000'000, "timed out"));
    message.recipients.resize(1);

    const MailOutcome outcome = SmtpSender(server.Port(), {2000ms, 5000ms})("127.0.0.1", message);

    EXPECT_FALSE(outcome.delivered);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.errorText, "250:SMTP server didn't terminate session");
    EXPECT_TRUE(server.Received().ends_with("\r\n.\r\nQUIT\r\n"));
}

}  // namespace
}  // namespace vigilon
