#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CSMTP.h"
#include "HeloName.h"
#include "ScriptedSmtpServer.h"

namespace vigilon {
namespace {

using Server = test::ScriptedSmtpServer;
using namespace std::chrono_literals;

// Short limits, so that the time-out cases finish quickly.
constexpr SmtpTimeouts kTestTimeouts{2000ms, 400ms};

std::string Helo() { return "HELO " + HeloName() + "\r\n"; }

// Greeting and HELO accepted.
std::vector<Server::Step> Opening() {
    return {Server::Say("220 ready\r\n"), Server::Hear(), Server::Say("250 hello\r\n")};
}

std::vector<Server::Step> Then(std::vector<Server::Step> first, std::vector<Server::Step> more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

CNotifyMail Message() {
    CNotifyMail mail;
    mail.from = "watch@x.org";
    mail.subject = "host - OFFLINE";
    mail.body = "line one\nline two";
    mail.AddRecipient("a@x.org", "");
    return mail;
}

class SmtpClientTest : public ::testing::Test {
protected:
    std::unique_ptr<CSMTP> ClientFor(const Server& server) {
        return std::make_unique<CSMTP>("127.0.0.1", server.Port(), kTestTimeouts);
    }
};

TEST_F(SmtpClientTest, ConnectSendsOneHeloAfterGreeting) {
    Server server(Then(Opening(), {Server::Hear(), Server::Say("221 bye\r\n")}));
    auto client = ClientFor(server);
    EXPECT_TRUE(client->Connect());
    EXPECT_TRUE(client->IsConnected());
    EXPECT_EQ(client->GetLastErrorText(), "OK");
    EXPECT_TRUE(client->Connect());  // already connected: no traffic
    client.reset();
    EXPECT_EQ(server.Received(), Helo() + "QUIT\r\n");
}

TEST_F(SmtpClientTest, ForeignGreetingMeansNoHelo) {
    Server server({Server::Say("421 busy\r\n")});
    auto client = ClientFor(server);
    EXPECT_FALSE(client->Connect());
    EXPECT_EQ(client->GetLastErrorText(), "Server didn't respond.");
    EXPECT_FALSE(client->IsConnected());
    EXPECT_EQ(server.Received(), "");
}

TEST_F(SmtpClientTest, RefusedHeloFailsConnect) {
    Server server({Server::Say("220 ready\r\n"), Server::Hear(), Server::Say("501 bad name\r\n")});
    auto client = ClientFor(server);
    EXPECT_FALSE(client->Connect());
    EXPECT_EQ(client->GetLastErrorText(), "501:SMTP server error");
    EXPECT_FALSE(client->IsConnected());
    client.reset();
    EXPECT_EQ(server.Received(), Helo());  // closed without QUIT
}

TEST_F(SmtpClientTest, NothingIsSentBeforeConnect) {
    CSMTP client("127.0.0.1", 1, kTestTimeouts);
    CNotifyMail mail = Message();
    EXPECT_FALSE(client.SendMessage(mail));
    EXPECT_EQ(client.GetLastErrorText(), "Must be connected");
    EXPECT_TRUE(client.Disconnect());
    EXPECT_EQ(client.GetServerHostName(), "127.0.0.1");
    EXPECT_EQ(client.GetPort(), 1);
}

TEST_F(SmtpClientTest, RefusedFirstRecipientStillDeliversToSecond) {
    Server server(Then(
        Opening(), {Server::Hear(), Server::Say("250 sender ok\r\n"), Server::Hear(),
                    Server::Say("550 no such user\r\n"), Server::Hear(), Server::Say("250 ok\r\n"),
                    Server::Hear(), Server::Say("354 go ahead\r\n"), Server::HearData(),
                    Server::Say("250 queued\r\n"), Server::Hear(), Server::Say("221 bye\r\n")}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    mail.AddRecipient("b@y.org", "B ");
    EXPECT_TRUE(client->SendMessage(mail));
    EXPECT_EQ(client->GetLastErrorText(), "550:SMTP server error");
    EXPECT_TRUE(client->Disconnect());
    EXPECT_FALSE(client->IsConnected());

    EXPECT_EQ(server.Received(), Helo() + "MAIL From: <watch@x.org>\r\n" +
                                     "RCPT TO: <a@x.org>\r\n" + "RCPT TO: <b@y.org>\r\n" +
                                     "DATA\r\n" + mail.header +
                                     "X-Mailer: CSMTP class for MFC\r\n" + "\r\n" +
                                     "line one\r\nline two\r\n" + "\r\n.\r\n" + "QUIT\r\n");
    EXPECT_NE(mail.header.find("To: <a@x.org>,B <b@y.org>\r\n"), std::string::npos);
}

TEST_F(SmtpClientTest, DataRefusedKeepsConnectionUntilDestructorQuits) {
    Server server(Then(Opening(),
                       {Server::Hear(), Server::Say("250 ok\r\n"), Server::Hear(),
                        Server::Say("250 ok\r\n"), Server::Hear(), Server::Say("451 try later\r\n"),
                        Server::Hear(), Server::Say("221 bye\r\n")}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    EXPECT_FALSE(client->SendMessage(mail));
    EXPECT_EQ(client->GetLastErrorText(), "451:SMTP server not ready for data");
    EXPECT_TRUE(client->IsConnected());
    client.reset();
    EXPECT_TRUE(server.Received().ends_with("DATA\r\nQUIT\r\n"));
}

TEST_F(SmtpClientTest, WrongQuitReplyFailsButDisconnects) {
    Server server(Then(Opening(), {Server::Hear(), Server::Say("250 whatever\r\n")}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    EXPECT_FALSE(client->Disconnect());
    EXPECT_EQ(client->GetLastErrorText(), "250:SMTP server didn't terminate session");
    EXPECT_FALSE(client->IsConnected());
    client.reset();
    EXPECT_EQ(server.Received(), Helo() + "QUIT\r\n");  // no second QUIT
}

TEST_F(SmtpClientTest, MessageWithLineBreakInHeaderFieldIsNotSent) {
    Server server(Then(Opening(), {Server::Hear(), Server::Say("221 bye\r\n")}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    mail.subject = "hi\r\nBcc: someone@z.org";
    EXPECT_FALSE(client->SendMessage(mail));
    EXPECT_EQ(client->GetLastErrorText(), "Message refused: line break in the subject");
    client.reset();
    EXPECT_EQ(server.Received(), Helo() + "QUIT\r\n");
}

TEST(SmtpFormat, AppendsFinalLineEndOnlyWhenMissing) {
    CSMTP client("127.0.0.1", 25);
    CNotifyMail bare = Message();
    bare.body = "text";
    ASSERT_TRUE(client.FormatMailMessage(bare));
    EXPECT_EQ(bare.body, "text\r\n");

    CNotifyMail ended = Message();
    ended.body = "text\r\n";
    ASSERT_TRUE(client.FormatMailMessage(ended));
    EXPECT_EQ(ended.body, "text\r\n");

    CNotifyMail nobody;
    EXPECT_FALSE(client.FormatMailMessage(nobody));
    EXPECT_EQ(client.GetLastErrorText(), "OK");
}

TEST_F(SmtpClientTest, ReadsRepliesSplitIntoSegmentsAndMultiLineReplies) {
    Server server(
        {Server::SayInPieces({"2", "20 rea", "dy\r", "\n"}), Server::Hear(),
         Server::SayInPieces({"250-vm greets you\r\n", "250-SIZE 1000\r\n250 HELP\r\n"}),
         Server::Hear(), Server::Say("250 ok\r\n"), Server::Hear(), Server::Say("250 ok\r\n"),
         Server::Hear(), Server::SayInPieces({"35", "4 go\r\n"}), Server::HearData(),
         Server::Say("250-queued\r\n250 as 42\r\n"), Server::Hear(), Server::Say("221 bye\r\n")});
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect()) << client->GetLastErrorText();
    CNotifyMail mail = Message();
    EXPECT_TRUE(client->SendMessage(mail)) << client->GetLastErrorText();
    EXPECT_TRUE(client->Disconnect()) << client->GetLastErrorText();
    EXPECT_EQ(client->GetLastErrorText(), "OK");
}

TEST_F(SmtpClientTest, ReplyWithoutNumberShowsCodeZero) {
    Server server({Server::Say("220 ready\r\n"), Server::Hear(), Server::Say("hello?\r\n")});
    auto client = ClientFor(server);
    EXPECT_FALSE(client->Connect());
    EXPECT_EQ(client->GetLastErrorText(), "0:SMTP server error");
}

TEST_F(SmtpClientTest, ConnectionClosedBeforeReplyIsSocketError) {
    Server server(Then(Opening(), {Server::Hear(), Server::Say("25"), Server::Hangup()}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    EXPECT_FALSE(client->SendMessage(mail));
    EXPECT_EQ(client->GetLastErrorText(), "Socket Error");
    // Writing into the dropped connection again must not kill the process.
    EXPECT_FALSE(client->SendMessage(mail));
    EXPECT_FALSE(client->Disconnect());
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(SmtpClientTest, SilentServerTimesOutWithSocketError) {
    Server server({Server::Say("220 ready\r\n"), Server::Hear()});  // then silence
    auto client = ClientFor(server);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client->Connect());
    EXPECT_EQ(client->GetLastErrorText(), "Socket Error");
    EXPECT_FALSE(client->IsConnected());
    // Ended by the client's limit, well before the server gives up (10 s).
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST_F(SmtpClientTest, ReplyTrickledWithoutEndTimesOut) {
    std::vector<std::string> drops(100, "x");  // one byte every 30 ms, never a line end
    Server server({Server::Say("220 ready\r\n"), Server::Hear(), Server::SayInPieces(drops)});
    auto client = ClientFor(server);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client->Connect());
    EXPECT_EQ(client->GetLastErrorText(), "Socket Error");
    // The limit holds for the whole reply, not for each piece of it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms);
}

TEST_F(SmtpClientTest, ServerStalledAfterMailIsGivenUpOnce) {
    Server server(Then(Opening(), {Server::Hear()}));  // MAIL, then silence
    auto client = std::make_unique<CSMTP>("127.0.0.1", server.Port(), SmtpTimeouts{2000ms, 1000ms});
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    for (const char* address : {"b@x.org", "c@x.org", "d@x.org", "e@x.org"})
        mail.AddRecipient(address, "");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client->SendMessage(mail));
    EXPECT_EQ(client->GetLastErrorText(), "Socket Error");
    client.reset();  // a QUIT from here would wait again
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 900ms) << "the reply was waited for";
    EXPECT_LT(elapsed, 2000ms) << "waited for more than one reply";
    // Nothing after the time-out: no RCPT, DATA or QUIT reached the server.
    EXPECT_EQ(server.Received(), Helo() + "MAIL From: <watch@x.org>\r\n");
}

TEST_F(SmtpClientTest, SlowRepliesEndAtTheExchangeLimit) {
    // Each reply comes well within the reply limit; together they outlast
    // the exchange (MAIL at 0.5 s, RCPTs at 1.0, 1.5, then 2.0 > 1.8 s).
    std::vector<Server::Step> script = Opening();
    for (int i = 0; i < 7; ++i)
        script.insert(script.end(),
                      {Server::Hear(), Server::Pause(500ms), Server::Say("250 ok\r\n")});
    Server server(script);
    CSMTP client("127.0.0.1", server.Port(), {2000ms, 800ms, 1800ms});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Connect());
    CNotifyMail mail = Message();
    for (const char* address : {"b@x.org", "c@x.org", "d@x.org", "e@x.org"})
        mail.AddRecipient(address, "");
    EXPECT_FALSE(client.SendMessage(mail));
    EXPECT_EQ(client.GetLastErrorText(), "Socket Error");
    EXPECT_FALSE(client.Disconnect());
    EXPECT_FALSE(client.IsConnected());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2400ms);
    const std::string received = server.Received();
    EXPECT_TRUE(received.ends_with(">\r\n")) << received;  // the last RCPT, unanswered
    EXPECT_EQ(received.find("DATA"), std::string::npos) << received;
    EXPECT_EQ(received.find("QUIT"), std::string::npos) << received;
}

TEST_F(SmtpClientTest, MessageTextGoesOutInOneSegment) {
    Server server(
        Then(Opening(),
             {Server::Hear(), Server::Say("250 ok\r\n"), Server::Hear(), Server::Say("250 ok\r\n"),
              Server::Hear(), Server::Say("354 go\r\n"), Server::HearData(),
              Server::Say("250 queued\r\n"), Server::Hear(), Server::Say("221 bye\r\n")}));
    auto client = ClientFor(server);
    ASSERT_TRUE(client->Connect());
    CNotifyMail mail = Message();
    EXPECT_TRUE(client->SendMessage(mail));
    EXPECT_TRUE(client->Disconnect());
    // Each piece of the text read by one receive of the peer: had they been
    // written apart, the later ones would have waited for an acknowledgement.
    const std::vector<std::string> segments = server.Segments();
    const std::string text =
        mail.header + "X-Mailer: CSMTP class for MFC\r\n\r\n" + "line one\r\nline two\r\n\r\n.\r\n";
    EXPECT_NE(std::find(segments.begin(), segments.end(), text), segments.end());
}

TEST(SmtpConnect, ServerNameIsLookedUp) {
    Server server(Then(Opening(), {Server::Hear(), Server::Say("221 bye\r\n")}));
    CSMTP client("localhost", server.Port(), kTestTimeouts);
    EXPECT_TRUE(client.Connect()) << client.GetLastErrorText();
    EXPECT_TRUE(client.Disconnect());
}

TEST(SmtpConnect, EmptyServerNameAndClosedPortFailToConnect) {
    CSMTP unnamed("", 25, kTestTimeouts);  // an unset second server is still tried this way
    EXPECT_FALSE(unnamed.Connect());
    EXPECT_EQ(unnamed.GetLastErrorText(), "Unable to connect to server");

    int port = 0;
    {
        Server closed({});  // learn a free port; it closes again here
        port = closed.Port();
    }
    CSMTP refused("127.0.0.1", port, kTestTimeouts);
    EXPECT_FALSE(refused.Connect());
    EXPECT_EQ(refused.GetLastErrorText(), "Unable to connect to server");
}

}  // namespace
}  // namespace vigilon
