#pragma once

#include <string>

namespace vigilon {

// Appends one event line to the log. EventLog is the ungated writer; the
// engine's WriteLog wraps one and writes only while logging is on.
class LogWriter {
public:
    virtual ~LogWriter() = default;
    virtual void Write(const std::string& message) = 0;
};

}  // namespace vigilon
