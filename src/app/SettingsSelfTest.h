#pragma once

#include <string>

#include "CSMTP.h"
#include "LogWriter.h"
#include "MonitorPorts.h"
#include "SelfTestInputs.h"

namespace vigilon::app {

inline constexpr const char* kPass = "PASS";
inline constexpr const char* kFail = "FAIL";
inline constexpr const char* kNotApplicable = "n/a";

// The six rows of a self-test; empty until their test has run.
struct SelfTestResults {
    std::string targetPingResult;
    std::string controlPingResult;
    std::string smtp1PingResult;
    std::string smtp2PingResult;
    std::string smtp1MailResult;
    std::string smtp2MailResult;
};

// The self-test dialog as the run sees it.
class SelfTestView {
public:
    virtual ~SelfTestView() = default;
    // The wait cursor shows and the mouse is captured.
    virtual void BeginRun() = 0;
    // Puts every row into its box and paints it before the next test starts.
    virtual void ShowResults(const SelfTestResults& results) = 0;
    // Capture released, normal cursor, "&Done" enabled.
    virtual void EndRun() = 0;
};

// Tries a settings dialog's entries before they are committed: pings the
// target, the control host and both SMTP servers and sends a test e-mail
// through each server, one test after the other, and writes the run to the
// event log whether or not logging is switched on.
class SettingsSelfTest {
public:
    SettingsSelfTest(NetworkProbes& network, LogWriter& eventLog, SmtpTimeouts timeouts = {})
        : network_(network), eventLog_(eventLog), timeouts_(timeouts) {}

    SelfTestResults RunTests(const SelfTestInputs& inputs, SelfTestView& view);
    // "PASS" only when the host answered the echo request.
    std::string PingTest(const std::string& host);
    // PingTest of an SMTP server field's host: a bare host or a URL's;
    // "FAIL" without a ping for a field that cannot be used.
    std::string PingServerTest(const std::string& server);
    // "PASS" when the server (a bare host on port 25, or a URL) took the
    // test message.
    std::string MailTest(const std::string& server, const SelfTestInputs& inputs);

private:
    NetworkProbes& network_;
    LogWriter& eventLog_;
    SmtpTimeouts timeouts_;
};

}  // namespace vigilon::app
