#pragma once

#include <string>
#include <vector>

#include "LogWriter.h"

namespace vigilon::test {

class RecordingLog : public LogWriter {
public:
    void Write(const std::string& message) override { lines.push_back(message); }
    std::vector<std::string> lines;
};

}  // namespace vigilon::test
