#pragma once

#include <string>

namespace vigilon {

// The program's own window for reading the log, for desktops without a
// handler for text files.
class LogViewer {
public:
    virtual ~LogViewer() = default;
    // Shows the end of the log file at path; returns at once.
    virtual void ShowLog(const std::string& path) = 0;
};

}  // namespace vigilon
