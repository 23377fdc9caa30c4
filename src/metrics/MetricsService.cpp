#include "MetricsService.h"

namespace vigilon::metrics {

std::string MetricsService::Start(const std::string& listen, const std::string& file) {
    if (listen.empty() && file.empty()) return {};
    if (!listen.empty()) {
        ListenAddress address;
        if (std::string problem = ParseListenAddress(listen, address); !problem.empty())
            return problem;
        server_ = std::make_unique<MetricsServer>(snapshot_);
        if (std::string problem = server_->Start(address); !problem.empty()) {
            server_.reset();
            return problem;
        }
    }
    if (!file.empty()) file_ = std::make_unique<MetricsFile>(file, problems_);
    recorder_ = std::make_unique<MetricsRecorder>(snapshot_, [this](const std::string& text) {
        if (file_) file_->Write(text);
    });
    return {};
}

}  // namespace vigilon::metrics
