#pragma once

#include <mutex>
#include <ostream>
#include <string>

#include "ProblemReport.h"
#include "UserPrompt.h"

namespace vigilon::app {

// Writes text to out as lines of their own, each "vigilon: " and one line
// of the text, so that a journal keeps each as one entry; blank lines go.
void WriteProgramLines(std::ostream& out, const std::string& text);

// The program without a window tells of problems on a stream (standard
// error), from any thread, one report after another.
class StreamProblems : public ProblemReport {
public:
    explicit StreamProblems(std::ostream& out) : out_(out) {}
    void Report(const std::string& text, MessageIcon icon = MessageIcon::Exclamation) override;
    // A message of the event log as one line, its own line breaks made
    // spaces, between the reports.
    void WriteLogLine(const std::string& message);

private:
    std::ostream& out_;
    std::mutex writing_;
};

// The message boxes of the settings file's load and save, for a program
// that has nobody to ask: messages go to the stream, and every question is
// answered No, so nothing is ever removed or overwritten on a guess.
class StreamPrompt : public UserPrompt {
public:
    explicit StreamPrompt(ProblemReport& problems) : problems_(problems) {}
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string&) override {
        problems_.Report(text, icon);
    }
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string&) override {
        problems_.Report(text + " (answered No: nobody to ask)", icon);
        return false;
    }

private:
    ProblemReport& problems_;
};

}  // namespace vigilon::app
