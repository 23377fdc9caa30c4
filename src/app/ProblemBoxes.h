#pragma once

#include <functional>
#include <set>
#include <string>

#include "ProblemReport.h"

namespace vigilon::app {

// Boxes that stand beside the window and wait for nobody: Open returns at
// once, and whenClosed runs once the user has closed the box.
class ModelessBoxes {
public:
    virtual ~ModelessBoxes() = default;
    virtual void Open(const std::string& text, MessageIcon icon,
                      std::function<void()> whenClosed) = 0;
};

// How the window tells of problems met while monitoring (a probe, a lookup,
// the log): each distinct text in one box, which stays until closed; the
// same text again while its box is open adds nothing, so an unattended desk
// does not collect a box per cycle. Runs on the window's thread.
class ProblemBoxes : public ProblemReport {
public:
    explicit ProblemBoxes(ModelessBoxes& boxes) : boxes_(boxes) {}

    void Report(const std::string& text, MessageIcon icon) override;
    std::size_t OpenBoxes() const { return open_.size(); }

private:
    ModelessBoxes& boxes_;
    std::set<std::string> open_;
};

}  // namespace vigilon::app
