// Self-test runs against real peers inside a private network namespace: the
// loopback answers, 198.51.100.7 is routed into the void, aiosmtpd listens on
// 127.0.0.1:25, nothing on 127.0.0.2:25, and no name resolves.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FakePrompt.h"
#include "LogLine.h"
#include "NetNamespace.h"
#include "RealSmtpServer.h"
#include "SettingsSelfTest.h"
#include "StoreTestDir.h"
#include "SystemNetwork.h"

namespace vigilon::test {
namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

// Every state the rows were shown in, and whether the run began and ended.
class RecordingView : public app::SelfTestView {
public:
    void BeginRun() override { events.push_back("begin"); }
    void ShowResults(const app::SelfTestResults& results) override {
        events.push_back("show");
        shown.push_back(results);
    }
    void EndRun() override { events.push_back("end"); }

    std::vector<std::string> events;
    std::vector<app::SelfTestResults> shown;
};

Strings Rows(const app::SelfTestResults& r) {
    return {r.targetPingResult, r.controlPingResult, r.smtp1PingResult,
            r.smtp2PingResult,  r.smtp1MailResult,   r.smtp2MailResult};
}

class SelfTestRealPeers : public StoreTestDir {
protected:
    void SetUp() override {
        const std::string why = NetNamespace::WhyUnavailable();
        if (!why.empty()) GTEST_SKIP() << why;
        StoreTestDir::SetUp();
        space = std::make_unique<NetNamespace>();
        ASSERT_TRUE(space->Ok()) << space->Error();
        // A route through the loopback to an address nobody holds: requests
        // go out and are dropped, so the probe waits for its time-out.
        const CommandOutput route = space->Exec("ip route add 198.51.100.0/24 dev lo");
        ASSERT_EQ(route.exitCode, 0) << route.output;
        inside = std::make_unique<NamespaceEntry>(*space);
        ASSERT_TRUE(inside->Ok());
    }
    void TearDown() override {
        inside.reset();
        space.reset();
        if (!dir.empty()) StoreTestDir::TearDown();
    }

    // The log's messages, without their time stamps and line ends.
    static Strings LogMessages() {
        Strings messages;
        std::istringstream lines(ReadText(kLogFileName));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            messages.push_back(line.size() > 18 ? line.substr(18) : line);  // "%m/%d/%y %H:%M:%S "
        }
        return messages;
    }

    std::unique_ptr<NetNamespace> space;
    std::unique_ptr<NamespaceEntry> inside;
    FakePrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
};

TEST_F(SelfTestRealPeers, RowsLogLinesAndTheTestMail) {
    RealSmtpServer server("127.0.0.1", 25);
    ASSERT_TRUE(server.Ready());
    SystemNetwork network(prompt);
    EventLog eventLog(kLogFileName, prompt, launcher, clock);
    RecordingView view;
    app::SettingsSelfTest selfTest(network, eventLog, SmtpTimeouts{5000ms, 10000ms});

    app::SelfTestInputs inputs;
    inputs.targetAddress = "127.0.0.1";
    inputs.controlAddress = "198.51.100.7";
    inputs.smtpServer1 = "127.0.0.1";
    inputs.smtpServer2 = "127.0.0.2";
    inputs.mailTo = "ops@example.org;dev@example.org";
    inputs.mailFrom = "Vigilon";
    inputs.emailEnabled = 1;
    const auto start = std::chrono::steady_clock::now();
    const app::SelfTestResults results = selfTest.RunTests(inputs, view);

    EXPECT_EQ(Rows(results), (Strings{"PASS", "FAIL", "PASS", "PASS", "PASS", "FAIL"}));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1s) << "the silent host was waited for";
    EXPECT_TRUE(prompt.boxes.empty());
    // One row more after every test, then the whole table once more.
    ASSERT_EQ(view.shown.size(), 7u);
    EXPECT_EQ(Rows(view.shown[0]), (Strings{"PASS", "", "", "", "", ""}));
    EXPECT_EQ(Rows(view.shown[2]), (Strings{"PASS", "FAIL", "PASS", "", "", ""}));
    EXPECT_EQ(Rows(view.shown[4]), (Strings{"PASS", "FAIL", "PASS", "PASS", "PASS", ""}));
    EXPECT_EQ(view.events.front(), "begin");
    EXPECT_EQ(view.events.back(), "end");

    EXPECT_EQ(LogMessages(),
              (Strings{"**************** Testing Settings ****************",
                       "EMAIL TO: ops@example.org;dev@example.org (through) 127.0.0.1",
                       "MESSAGE: If you got this email then your SMTP server 127.0.0.1 is working",
                       "SMTP 127.0.0.2 Unable to connect to server",
                       "Target: PASS",
                       "Control: FAIL",
                       "Ping 1st SMTP: PASS",
                       "Ping 2nd SMTP: PASS",
                       "Send Email 1st SMTP: PASS",
                       "Send Email 2nd SMTP: FAIL"}));

    const Strings mails = server.Messages();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(HeaderValue(mails[0], "Subject"), "Testing - 127.0.0.1");
    EXPECT_EQ(HeaderValue(mails[0], "From"), "Vigilon");
    EXPECT_EQ(HeaderValue(mails[0], "To"), "<ops@example.org>,<dev@example.org>");
    EXPECT_EQ(BodyOf(mails[0]), "If you got this email then your SMTP server 127.0.0.1 is working\n\n");

    // E-mail off, a target that does not resolve: seven lines, no server
    // contacted, and the unresolvable name fails its row. The log file is
    // made anew when it has gone.
    std::filesystem::remove(kLogFileName);
    inputs.targetAddress = "no-such-host.vigilon";
    inputs.controlAddress = "127.0.0.1";
    inputs.emailEnabled = 0;
    const app::SelfTestResults offline = selfTest.RunTests(inputs, view);

    EXPECT_EQ(Rows(offline), (Strings{"FAIL", "PASS", "n/a", "n/a", "n/a", "n/a"}));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "Unable to resolve Can't resolve no-such-host.vigilon");
    EXPECT_EQ(LogMessages(), (Strings{"**************** Testing Settings ****************",
                                      "Target: FAIL", "Control: PASS", "Ping 1st SMTP: n/a",
                                      "Ping 2nd SMTP: n/a", "Send Email 1st SMTP: n/a",
                                      "Send Email 2nd SMTP: n/a"}));
    EXPECT_EQ(server.Messages().size(), 1u);
}

}  // namespace
}  // namespace vigilon::test
