#pragma once

#include <string>
#include <vector>

#include "ProblemReport.h"

namespace vigilon::test {

// Records every problem reported to it as the box the shell would show.
class RecordedProblems : public ProblemReport {
public:
    struct Box {
        std::string text;
        MessageIcon icon;
        std::string caption;
        bool question;
    };

    void Report(const std::string& text, MessageIcon icon) override {
        boxes.push_back({text, icon, kAppName, false});
    }

    std::vector<Box> boxes;
};

}  // namespace vigilon::test
