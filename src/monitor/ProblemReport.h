#pragma once

#include <string>

#include "MessageIcon.h"

namespace vigilon {

// Tells the user of a failure without waiting for them: monitoring goes on
// whether or not anyone reads it. The window shows each distinct text in
// one box at a time; a program without a window writes it to standard
// error. Any thread may report.
class ProblemReport {
public:
    virtual ~ProblemReport() = default;
    virtual void Report(const std::string& text, MessageIcon icon = MessageIcon::Exclamation) = 0;
};

}  // namespace vigilon
