#pragma once

#include <string>
#include <vector>

#include "LogWriter.h"
#include "SettingsSelfTest.h"

namespace vigilon::test {

// One timeline of what a self-test run showed and logged.
struct SelfTestTimeline {
    std::vector<std::string> events;  // "begin", "show", "log: ...", "end"
    std::vector<app::SelfTestResults> shown;
};

class RecordingSelfTestView : public app::SelfTestView {
public:
    explicit RecordingSelfTestView(SelfTestTimeline& timeline) : timeline_(timeline) {}
    void BeginRun() override { timeline_.events.push_back("begin"); }
    void ShowResults(const app::SelfTestResults& results) override {
        timeline_.events.push_back("show");
        timeline_.shown.push_back(results);
    }
    void EndRun() override { timeline_.events.push_back("end"); }

private:
    SelfTestTimeline& timeline_;
};

class TimelineLog : public LogWriter {
public:
    explicit TimelineLog(SelfTestTimeline& timeline) : timeline_(timeline) {}
    void Write(const std::string& message) override { timeline_.events.push_back("log: " + message); }

private:
    SelfTestTimeline& timeline_;
};

inline std::vector<std::string> Rows(const app::SelfTestResults& r) {
    return {r.targetPingResult, r.controlPingResult, r.smtp1PingResult,
            r.smtp2PingResult,  r.smtp1MailResult,   r.smtp2MailResult};
}

}  // namespace vigilon::test
