#pragma once

#include <string>

#include "ProblemReport.h"

namespace vigilon::metrics {

// The metrics as a file for node_exporter's textfile collector, replaced
// whole after every cycle (a temporary beside it, renamed over it), so a
// collector never reads half of one. Readable by all (0644): the collector
// runs as another user. A failure is told once, and again only when it
// changes or after the file could be written.
class MetricsFile {
public:
    MetricsFile(std::string path, ProblemReport& problems)
        : path_(std::move(path)), problems_(problems) {}
    void Write(const std::string& text);

private:
    std::string path_;
    ProblemReport& problems_;
    std::string lastProblem_;
};

}  // namespace vigilon::metrics
