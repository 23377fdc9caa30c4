#include "MetricsFile.h"

#include <cerrno>
#include <span>

#include "ErrorText.h"
#include "RenameIntoPlace.h"
#include "TemporaryFiles.h"

namespace vigilon::metrics {

void MetricsFile::Write(const std::string& text) {
    UniqueFd temporary = CreateTemporaryFor(path_, 0644);
    int error = temporary ? 0 : errno;
    if (error == 0) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        error = CommitTemporary(std::move(temporary), path_,
                                std::span<const std::uint8_t>(bytes, text.size()));
    }
    const std::string problem =
        error == 0 ? "" : "cannot write the metrics to " + path_ + ": " + ErrorText(error);
    if (!problem.empty() && problem != lastProblem_) problems_.Report(problem);
    lastProblem_ = problem;
}

}  // namespace vigilon::metrics
