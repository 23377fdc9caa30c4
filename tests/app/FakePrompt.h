#pragma once

#include <deque>
#include <string>

#include "RecordedProblems.h"
#include "UserPrompt.h"

namespace vigilon::test {

// Records every message box beside the problems reported to it, in one list
// of boxes; answers Yes/No questions from a script (No when the script is
// empty).
class FakePrompt : public UserPrompt, public RecordedProblems {
public:
    // Through ShowMessage, which a test's prompt may watch.
    void Report(const std::string& text, MessageIcon icon) override {
        ShowMessage(text, icon, kAppName);
    }
    void ShowMessage(const std::string& text, MessageIcon icon,
                     const std::string& caption) override {
        boxes.push_back({text, icon, caption, false});
    }
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) override {
        boxes.push_back({text, icon, caption, true});
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<bool> answers;
};

// Reports problems into a FakePrompt's boxes, so that a test reads every
// message the user would see in one list.
class PromptProblems : public ProblemReport {
public:
    explicit PromptProblems(FakePrompt& prompt) : prompt_(prompt) {}
    void Report(const std::string& text, MessageIcon icon) override {
        prompt_.ShowMessage(text, icon, kAppName);
    }

private:
    FakePrompt& prompt_;
};

}  // namespace vigilon::test
