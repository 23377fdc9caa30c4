#pragma once

#include <memory>
#include <string>

#include "MetricsFile.h"
#include "MetricsRecorder.h"
#include "MetricsServer.h"
#include "MetricsSnapshot.h"
#include "ProblemReport.h"

namespace vigilon::metrics {

// What --metrics-listen and --metrics-file ask for, put together: the
// recorder the engine observes, the endpoint and the textfile.
class MetricsService {
public:
    explicit MetricsService(ProblemReport& problems) : problems_(problems) {}

    // Empty listen or file leaves that part out. Empty on success, else why
    // the endpoint cannot listen.
    std::string Start(const std::string& listen, const std::string& file);
    // What the engine tells its figures to; nullptr while neither part runs.
    RunObserver* Observer() { return recorder_.get(); }
    int Port() const { return server_ ? server_->Port() : 0; }

private:
    ProblemReport& problems_;
    MetricsSnapshot snapshot_;
    std::unique_ptr<MetricsFile> file_;
    std::unique_ptr<MetricsRecorder> recorder_;
    std::unique_ptr<MetricsServer> server_;
};

}  // namespace vigilon::metrics
